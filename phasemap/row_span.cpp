#include "phasemap/row_span.hpp"

#include <cstring>

namespace nrx::detail {

namespace {

constexpr std::int32_t scan_width = 16;

// Whether any of the scan_width values from p on is non-zero: whether any
// has a bit set besides the sign bit (that of -0.0), read as integers so
// that the test is a plain OR of the bits.
bool any_nonzero(const double* p)
{
    std::uint64_t bits[scan_width];
    std::memcpy(bits, p, sizeof bits);
    std::uint64_t any = 0;
    for (std::int32_t l = 0; l < scan_width; ++l) {
        any |= bits[l];
    }
    return (any << 1) != 0;
}

}  // namespace

Span nonzero_span(const double* row, std::int32_t nx)
{
    std::int32_t first = 0;
    while (first + scan_width <= nx && !any_nonzero(row + first)) first += scan_width;
    while (first < nx && row[first] == 0.0) ++first;
    if (first == nx) return no_span;
    std::int32_t last = nx - 1;
    while (last - scan_width >= first && !any_nonzero(row + last - scan_width + 1)) last -= scan_width;
    while (row[last] == 0.0) --last;
    return {first, last};
}

}  // namespace nrx::detail
