// The tetrahedra of the Jacobian's lattice cut, their per-call records and
// the row loop that computes many voxels at once, for warp_jacobian.cpp and
// its tests.
#pragma once

#include <cstdint>

#include "core/grid3.hpp"
#include "core/vectors.hpp"

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

// Every voxel of one parity (index sum even or odd) uses the same tetrahedra
// with the same records; this is them, with the distinct voxels they reach.
struct ParityStencil {
    static constexpr int max_corners = 19;  // the voxel and 18 neighbours (even parity)

    int tetrahedron_count;               // 32 or 8, in table order
    TetrahedronRecord tetrahedra[32];
    int corner_count;                    // distinct element offsets, 0 (the voxel) first
    std::int64_t corner_offsets[max_corners];
    int corners[32][3];                  // corners 1, 2, 3 of each, as indices into corner_offsets
    float den;                           // the weights summed in table order: every voxel's denominator
};

ParityStencil parity_stencil(const Grid3& grid, const TetrahedronCorners* table, int count, const float m[3][4]);

// Writes the determinants of n interior voxels of one parity along one row,
// at elements e, e+2, ..., e+2(n-1) of the field, to out[0], out[2], ...,
// out[2(n-1)]. Voxels are done side by side, each with exactly the
// single-precision operations, in the order, of warp_jacobian.hpp's
// definition, so every variant gives the same bits.
using ParityRow = void (*)(const float* const field[3], std::int64_t e, std::int32_t n, const ParityStencil& stencil,
                           float* out);

// Baseline x86-64 (SSE2) vectors.
void parity_row_baseline(const float* const field[3], std::int64_t e, std::int32_t n, const ParityStencil& stencil,
                         float* out);

// AVX2 vectors, twice as wide; only on a processor that has them.
void parity_row_avx2(const float* const field[3], std::int64_t e, std::int32_t n, const ParityStencil& stencil,
                     float* out);

// The widest variant this processor runs.
ParityRow parity_row_for_this_cpu();

}  // namespace nrx::detail
