// Joint intensity histogram of two 8-bit volumes, the second seen through an
// affine map from the first one's voxel coordinates.
//
// A regular grid of the first volume, each point shifted by a fixed jitter
// read from the table `ran`, is mapped into the second volume. Every point
// that lands inside it pairs the first volume's interpolated intensity,
// rounded to the nearest bin, with the second volume's, split linearly
// between its two neighbouring bins. The same arguments always give the same
// histogram: the table is constant and is read from the same place on every
// call.
//
// Voxel coordinates are one-based: the voxel stored at zero-based (i, j, k)
// of a column-major d[0] x d[1] x d[2] volume has coordinate
// (i+1, j+1, k+1).
#pragma once

#include <cstdint>

namespace nrx {

// The jitter: 97 single-precision values in [0, 1). The n-th grid point of a
// call (n from 0) is shifted by entries (3n+1), (3n+2) and (3n+3) mod 97.
extern const float ran[97];

// Trilinear value of the 8-bit volume f (d[0] x d[1] x d[2]) at the
// one-based point (x, y, z), in double precision. The x and y weights are
// single precision, the z weight is exact. Requires 1 <= x < d[0],
// 1 <= y < d[1] and 1 <= z < d[2]; makes no bounds test of its own.
double samp(const std::int32_t d[3], const std::uint8_t* f, float x, float y, float z);

// Adds the counts of every grid point to the 256 x 256 table h (column-major:
// row r, column c at r + 256c; rows are bins of the second volume's
// intensity, columns bins of the first's). m is the 4x4 map from v1's voxel
// coordinates to v2's (column-major; row 3 is not read); v1 is d1[0] x d1[1]
// x d1[2] voxels, v2 is d2[0] x d2[1] x d2[2]; s holds the grid spacing along
// x, y and z in voxels of v1.
//
// The grid runs in single precision from 1 along each axis while below
// d1[k] - s[k], z outermost, x innermost. A point whose mapped position is
// not inside 1 <= c < d2[k] on every axis (NaN included) is skipped, as is,
// for very long axes or skips of a few units in the last place, a jittered
// point that rounding has carried onto or past the first volume's far face.
// Each counted point adds exactly 1 to the total of h; nothing is allocated.
// Call only with skips for which grid_walk_ends holds. Cost: two trilinear
// samplings per grid point.
void hist2(const double m[16], const std::uint8_t* v1, const std::uint8_t* v2, const std::int32_t d1[3],
           const std::int32_t d2[3], double h[256 * 256], const float s[3]);

// Whether the grid walk of hist2 over a first volume of dimensions d1 with
// skips s comes to an end. It does not when a loop that is entered never
// leaves: a skip that is zero, negative, or too small to change the
// single-precision grid coordinate at the largest value the loop reaches
// (for example the unit skip on an axis longer than 2^24 + 1 voxels). A loop
// that is never entered (its axis has no grid point, or an outer axis has
// none) cannot stall, whatever its skip.
bool grid_walk_ends(const std::int32_t d1[3], const float s[3]);

}  // namespace nrx
