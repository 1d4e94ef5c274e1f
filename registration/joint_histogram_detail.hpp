// The jitter table and the batched walk of the joint histogram, for
// joint_histogram.cpp and its tests.
#pragma once

#include <cstdint>

#include "core/grid3.hpp"

namespace nrx::detail {

// The jitter: 97 single-precision values in [0, 1). The n-th grid point of a
// call (n from 0) is shifted by entries (3n+1), (3n+2) and (3n+3) mod 97.
extern const float jitter_table[97];

// joint_histogram, with its pieces of 4096 grid points scheduled at most
// batch_pieces at a time (joint_histogram takes 2^16).
void joint_histogram_in_batches(const double m[16], const std::uint8_t* v1, const Grid3& grid1,
                                const std::uint8_t* v2, const Grid3& grid2, const float s[3], double h[256 * 256],
                                std::int64_t batch_pieces);

}  // namespace nrx::detail
