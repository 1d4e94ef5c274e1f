// Pairs of face-adjacent voxels that lie in two different regions of a
// labelled phase map: the raw material of a region adjacency graph.
#pragma once

#include <cstddef>
#include <vector>

#include "phasemap/phase_map.hpp"

namespace nrx {

// Reads the labels rima and the phases pm (both maps on `grid`; a label that
// compares unequal to 0.0 names a region, NaN included) and replaces the four
// lists with one row per pair of face neighbours u, v whose labels h, c are
// both non-zero and unequal:
//   i, j  the two labels: (h, c) when c > h, else (c, h);
//   n     1.0;
//   p     the plain phase difference pm[v] - pm[u] when h > c, else
//         pm[u] - pm[v], not wrapped.
// For finite labels i < j and p is the phase on the side of i minus the phase
// on the side of j; a NaN label gives (c, h, pm[u] - pm[v]). Rows come in
// storage order of the later voxel v, and for one voxel in the order of its
// backward neighbours u at z-1, y-1, x-1; rows of equal labels are not merged.
// Returns the number of rows. Cost: one pass over the map; the lists grow as
// needed (up to three rows per voxel).
std::size_t region_border_pairs(const double* rima, const double* pm, const Grid3& grid, std::vector<double>& i,
                                std::vector<double>& j, std::vector<double>& n, std::vector<double>& p);

}  // namespace nrx
