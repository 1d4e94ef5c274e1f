#include "phasemap/row_span.hpp"

#include "phasemap/lanes.hpp"

namespace nrx::detail {

namespace {

constexpr int scan_vectors = 4;
constexpr std::int32_t scan_width = scan_vectors * vector_width;

// Whether any of the scan_width values from p on is non-zero.
bool any_nonzero(const double* p)
{
    auto nonzero = load<Vector>(p) != 0.0;
    for (int i = 1; i < scan_vectors; ++i) {
        nonzero = nonzero | (load<Vector>(p + i * vector_width) != 0.0);
    }
    for (int l = 0; l < vector_width; ++l) {
        if (nonzero[l] != 0) {
            return true;
        }
    }
    return false;
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
