// The stretch of a map row that holds non-zero values.
#pragma once

#include <cstdint>

namespace nrx::detail {

// The x of a row from first to last; empty when first > last.
struct Span {
    std::int32_t first;
    std::int32_t last;
};

constexpr Span no_span{0, -1};

inline bool is_empty(const Span& span) { return span.first > span.last; }

// The first and last x of a row of nx values whose value compares unequal to
// 0.0 (a voxel inside a mask, a voxel of known phase); NaN counts. Most rows
// of a map are empty at both ends, so the ends are skipped sixteen values at
// a time.
Span nonzero_span(const double* row, std::int32_t nx);

}  // namespace nrx::detail
