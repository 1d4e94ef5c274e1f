// Jacobian determinants of a deformation field over a tetrahedral cut of the
// voxel lattice.
//
// Every 2x2x2 cube of voxels is cut into one central and four corner
// tetrahedra, alternating with the parity of the cube, so that a voxel with an
// even index sum i+j+k is a corner of 32 tetrahedra (table `xo`) and one with
// an odd sum of 8 (table `xe`). On each tetrahedron the field is linear; the
// value at a voxel is the volume-weighted mean of the determinants of the
// tetrahedra it is a corner of.
//
// All arithmetic is single precision, in the order written in warp_jacobian.cpp.
#pragma once

#include <cstdint>
#include <functional>

namespace nrx {

// Three corner offsets (dx, dy, dz) of one tetrahedron; the voxel itself is
// corner 0.
using TetCorners = int[3][3];

extern const TetCorners xo[32];
extern const TetCorners xe[8];

// Constants of one tetrahedron, the same for every voxel of a call.
struct TetConsts {
    float B[16];           // inverse of the corner matrix A, row after row
    float w;               // det(A) / 6: signed volume after mapping by M
    std::int32_t o1, o2, o3;  // element offsets of corners 1, 2, 3
};

// Builds the record of one tetrahedron from its corners, the volume's
// dimensions and rows 0 to 2 of the grid matrix (m[r][c] = M(r, c), single).
void setup_consts_sub(const std::int32_t dim[3], const TetCorners& corners, TetConsts& record,
                      const float m[3][4]);

// Writes the Jacobian determinant of the field (field[c] is component c, each
// dim[0] x dim[1] x dim[2] singles, column-major) at every voxel of `out`.
// Voxels with an index equal to 0 or to their dimension minus 1 are NaN; the
// others read only their neighbours one step away along each axis. After
// each plane k = 1 .. dim[2]-2 is done, `plane_done` is called. Allocates
// nothing; a NaN or infinity in the field makes the voxels that see it
// non-finite; a singular M makes every interior voxel NaN.
void jacobian_determinants(const float* const field[3], const std::int32_t dim[3], const float m[3][4],
                           float* out, const std::function<void()>& plane_done);

}  // namespace nrx
