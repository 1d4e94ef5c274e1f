// Jacobian determinants of a deformation field over a tetrahedral cut of the
// voxel lattice.
//
// Every 2x2x2 cube of voxels is cut into one central and four corner
// tetrahedra, alternating with the parity of the cube, so that a voxel with an
// even index sum i+j+k is a corner of 32 tetrahedra and one with an odd sum of
// 8. On each tetrahedron the field is linear; the value at a voxel is the
// volume-weighted mean of the determinants of the tetrahedra it is a corner
// of.
//
// All arithmetic is single precision, in the order written in warp_jacobian.cpp.
#pragma once

#include <functional>

#include "core/grid3.hpp"
#include "core/planes.hpp"

namespace nrx {

// Writes the Jacobian determinant of the field (field[c] is component c, each
// a grid of singles) at every voxel of `out`, a grid of the same size. m holds
// rows 0 to 2 of the grid's voxel-to-space matrix M in single precision,
// m[r][c] = M(r, c). Voxels with an index equal to 0 or to their dimension
// minus 1 are NaN; the others read only their neighbours one step away along
// each axis. A NaN or infinity in the field makes the voxels that see it
// non-finite; a singular M makes every interior voxel NaN. (Where NaNs of
// different sign or payload meet in one voxel's sums, for example a NaN of
// the field and one made from infinities, which of them the voxel shows
// follows the operand order the compiler picks, as for any compiled
// arithmetic.)
//
// Planes k = 1 .. nz-2 are computed on every core (the bits do not depend on
// the thread count); after each, in order and on the calling thread,
// `plane_done` is called and then `keep_going` asked. When it says stop, no
// further plane is started and false is returned, with `out` partly written;
// otherwise true. Allocates only the bookkeeping of the planes.
// Rows 0 to 2 of a 4x4 matrix M (16 doubles, column-major) in single
// precision, as jacobian_determinants takes them: m[r][c] = M(r, c).
void single_precision_rows(const double M[16], float m[3][4]);

bool jacobian_determinants(const float* const field[3], const Grid3& grid, const float m[3][4], float* out,
                           const std::function<void()>& plane_done, KeepGoing keep_going = nullptr);

}  // namespace nrx
