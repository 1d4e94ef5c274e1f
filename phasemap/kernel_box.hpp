// Conventions of the kernel-box filters (phase filling and weighted smoothing).
//
// A weight map is a map of the same size as the phase map (phasemap/
// phase_map.hpp), one weight per voxel; a voxel whose weight compares equal
// to 0.0 holds no known phase (NaN and negative weights are known).
//
// A kernel is a small grid of doubles (kd0, kd1, kd2), kd2 = 1 for a 2-D
// kernel, element (a, b, c) at a + kd0*(b + kd1*c), of any size independent of
// the map's. Centred on map voxel (i, j, k), kernel element (a, b, c) covers
// voxel (i + a - kd0/2, j + b - kd1/2, k + c - kd2/2), halves rounded down: an
// even size reaches one voxel further back than forward (size 4 covers offsets
// -2 to +1). Voxels the box reaches outside the map are skipped; the map is
// never extended or mirrored.
#pragma once

#include <cstdint>

#include "phasemap/phase_map.hpp"

namespace nrx {

inline bool has_known_phase(double weight) { return weight != 0.0; }

// The linear index i + d0*(j + d1*k) of voxel (i, j, k) of a grid of size
// dim, or -1 when a coordinate is negative or not less than its count.
inline std::int64_t getindex(std::int64_t i, std::int64_t j, std::int64_t k, const GridDims dim)
{
    if (i < 0 || j < 0 || k < 0 || i >= dim[0] || j >= dim[1] || k >= dim[2]) {
        return -1;
    }
    return i + dim[0] * (j + static_cast<std::int64_t>(dim[1]) * k);
}

// Visits the kernel box centred on map voxel (i, j, k), whose linear index
// is v: calls visit(kernel value, map index) for every kernel element whose
// voxel lies inside the map, with a outermost, then b, then c innermost,
// which fixes the order in which the callers add up their sums.
//
// Two paths, chosen here only: a box that lies wholly inside the map steps
// through it by linear offsets without testing coordinates; any other box
// tests every element with getindex. Both visit the same elements in the
// same order.
template <typename Visit>
void for_each_in_box(std::uint32_t i, std::uint32_t j, std::uint32_t k, std::size_t v, const GridDims dim,
                     const double* kernel, const GridDims kdim, Visit visit)
{
    const std::int64_t voxel[3] = {i, j, k};
    std::int64_t first[3];   // map coordinates under kernel element (0, 0, 0)
    bool inside = true;
    for (int axis = 0; axis < 3; ++axis) {
        first[axis] = voxel[axis] - kdim[axis] / 2;
        inside = inside && first[axis] >= 0 && first[axis] + kdim[axis] <= dim[axis];
    }
    if (inside) {
        const std::int64_t row = dim[0];
        const std::int64_t plane = row * dim[1];
        const std::int64_t kernel_plane = static_cast<std::int64_t>(kdim[0]) * kdim[1];
        const std::int64_t corner = static_cast<std::int64_t>(v) - (voxel[0] - first[0]) -
                                    row * (voxel[1] - first[1]) - plane * (voxel[2] - first[2]);
        for (std::uint32_t a = 0; a < kdim[0]; ++a) {
            for (std::uint32_t b = 0; b < kdim[1]; ++b) {
                const double* kernel_line = kernel + a + static_cast<std::int64_t>(kdim[0]) * b;
                const std::int64_t map_line = corner + a + row * b;
                for (std::uint32_t c = 0; c < kdim[2]; ++c) {
                    visit(kernel_line[kernel_plane * c], map_line + plane * c);
                }
            }
        }
        return;
    }
    for (std::uint32_t a = 0; a < kdim[0]; ++a) {
        for (std::uint32_t b = 0; b < kdim[1]; ++b) {
            for (std::uint32_t c = 0; c < kdim[2]; ++c) {
                const std::int64_t u = getindex(first[0] + a, first[1] + b, first[2] + c, dim);
                if (u != -1) {
                    visit(kernel[getindex(a, b, c, kdim)], u);
                }
            }
        }
    }
}

}  // namespace nrx
