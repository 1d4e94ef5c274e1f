// Which voxels of a candidate list are local maxima of a volume.
//
// A candidate is a maximum when no neighbour inside the volume is strictly
// greater. Neighbours outside the volume are ignored, equal neighbours do not
// disqualify (every voxel of a flat plateau without a greater neighbour is a
// maximum), and a comparison with NaN is false: a NaN neighbour never
// disqualifies and a NaN candidate is always a maximum.
//
// Typical use (a 3 x n list of one-based coordinates):
//
//   std::vector<std::uint32_t> peaks;
//   nrx::find_local_peaks(volume, grid, coords, n, 18, peaks);
#pragma once

#include <cstdint>
#include <vector>

#include "core/grid3.hpp"

namespace nrx {

// volume: a grid of doubles, read only. coords: n triples x, y, z of
// one-based doubles, each converted by local_peaks::list_coordinate.
// connectivity: 6 compares the face neighbours, 18 also the edge neighbours,
// 26 also the corners (any other value as the largest of these it reaches,
// none below 6).
//
// Tests the candidates in order and replaces the contents of `peaks` with the
// one-based numbers of those that are maxima, ascending. A candidate outside
// the volume, or with a coordinate that does not convert, is left out.
// Returns the number of maxima. Costs at most one comparison per candidate
// and neighbour, spread over every core (the list does not depend on the
// thread count).
std::int32_t find_local_peaks(const double* volume, const Grid3& grid, const double* coords, std::int32_t n,
                              int connectivity, std::vector<std::uint32_t>& peaks);

}  // namespace nrx
