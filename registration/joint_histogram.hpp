// Joint intensity histogram of two 8-bit volumes, the second seen through an
// affine map from the first one's voxel coordinates.
//
// A regular grid of the first volume, each point shifted by a fixed jitter
// read from a constant table, is mapped into the second volume. Every point
// that lands inside it pairs the first volume's interpolated intensity,
// rounded to the nearest bin, with the second volume's, split linearly
// between its two neighbouring bins. The same arguments always give the same
// histogram: the table is read from the same place on every call.
//
// Voxel coordinates are one-based: the voxel stored at zero-based (i, j, k)
// of a column-major volume has coordinate (i+1, j+1, k+1).
#pragma once

#include <cstdint>

#include "core/grid3.hpp"

namespace nrx {

// Writes the counts of every grid point to the 256 x 256 table h
// (column-major: row r, column c at r + 256c; rows are bins of the second
// volume's intensity, columns bins of the first's), which it clears first. m
// is the 4x4 map from v1's voxel coordinates to v2's (column-major; row 3 is
// not read); v1 fills grid1, v2 fills grid2; s holds the grid spacing along
// x, y and z in voxels of v1.
//
// Along each axis the grid runs in single precision from 1 while below the
// first volume's size minus the skip, z outermost, x innermost. A point whose
// mapped position is not inside 1 <= c < the second volume's size on every
// axis (NaN included) is skipped, as is, for very long axes or skips of a
// few units in the last place, a jittered point that rounding has carried
// onto or past the first volume's far face. Each counted point adds exactly 1
// to the total of h. Call only with skips for which grid_walk_ends holds.
//
// Points are sampled on every core, in pieces of 4096, and each piece is
// added to h on the calling thread, in walk order, so h does not depend on
// the thread count. Cost: two trilinear samplings per grid point; allocates
// the grid coordinates along each axis, 32 kB for each piece between its
// sampling and its adding, and a few bytes of bookkeeping per piece.
void joint_histogram(const double m[16], const std::uint8_t* v1, const Grid3& grid1, const std::uint8_t* v2,
                     const Grid3& grid2, const float s[3], double h[256 * 256]);

// Whether the grid walk of joint_histogram over a first volume of grid1 with
// skips s comes to an end. It does not when a loop that is entered never
// leaves: a skip that is zero, negative, or too small to change the
// single-precision grid coordinate at the largest value the loop reaches
// (for example the unit skip on an axis longer than 2^24 + 1 voxels). A loop
// that is never entered (its axis has no grid point, or an outer axis has
// none) cannot stall, whatever its skip.
bool grid_walk_ends(const Grid3& grid1, const float s[3]);

}  // namespace nrx
