// The tetrahedra of the Jacobian's lattice cut and their per-call records,
// for warp_jacobian.cpp and its tests.
#pragma once

#include <cstdint>

#include "core/grid3.hpp"

namespace nrx::detail {

// Three corner offsets (dx, dy, dz) of one tetrahedron; the voxel itself is
// corner 0.
using TetrahedronCorners = int[3][3];

// The tetrahedra a voxel with an even index sum is a corner of: per cube
// three corner tetrahedra, then the central one.
extern const TetrahedronCorners even_voxel_tetrahedra[32];

// The tetrahedra a voxel with an odd index sum is a corner of: one corner
// tetrahedron in each of its eight cubes.
extern const TetrahedronCorners odd_voxel_tetrahedra[8];

// Constants of one tetrahedron, the same for every voxel of a call.
struct TetrahedronRecord {
    float B[16];              // inverse of the corner matrix A, row after row
    float w;                  // det(A) / 6: signed volume after mapping by M
    std::int64_t o1, o2, o3;  // element offsets of corners 1, 2, 3
};

// The record of one tetrahedron from its corners, the field's grid and rows 0
// to 2 of the grid matrix (m[r][c] = M(r, c), single).
TetrahedronRecord tetrahedron_record(const Grid3& grid, const TetrahedronCorners& corners, const float m[3][4]);

}  // namespace nrx::detail
