// The jitter table and the trilinear sampling of the joint histogram, for
// joint_histogram.cpp and its tests.
#pragma once

#include <cstdint>

#include "core/grid3.hpp"

namespace nrx::detail {

// The jitter: 97 single-precision values in [0, 1). The n-th grid point of a
// call (n from 0) is shifted by entries (3n+1), (3n+2) and (3n+3) mod 97.
extern const float jitter_table[97];

// Trilinear value of the 8-bit volume f, which fills `grid`, at the
// one-based point (x, y, z), in double precision. The x and y weights are
// single precision, the z weight is exact. Requires 1 <= x < nx,
// 1 <= y < ny and 1 <= z < nz; makes no bounds test of its own.
double sample_trilinear(const Grid3& grid, const std::uint8_t* f, float x, float y, float z);

}  // namespace nrx::detail
