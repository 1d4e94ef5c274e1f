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
//   std::vector<std::uint32_t> maxima;
//   nrx::local_peaks::get_maxima(vol, dim, coords, n, 18, maxima);
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace nrx::local_peaks {

// A one-based list coordinate as an integer: the integer part of v + 0.1, so
// that 2.9 gives 3 and 0.85 gives 0; nothing when v + 0.1 is not finite or its
// integer part does not fit in 32 bits.
std::optional<std::int32_t> list_coordinate(double v);

// Zero-based linear index of one-based (x, y, z) in a dim[0] x dim[1] x
// dim[2] volume, or -1 when the voxel lies outside it.
std::int32_t get_index(std::int64_t x, std::int64_t y, std::int64_t z, const std::int32_t dim[3]);

// 1 when one-based voxel (x, y, z) lies inside vol and no neighbour chosen by
// conn is greater, else 0. conn >= 6 compares the 6 face neighbours, conn >=
// 18 also the 12 edge neighbours, conn == 26 also the 8 corners; each group
// in a fixed order, stopping at the first greater neighbour.
int is_maxima(const double* vol, const std::int32_t dim[3], std::int32_t x, std::int32_t y, std::int32_t z,
              int conn);

// Tests the n candidates of coords (n triples x, y, z of one-based doubles,
// converted by list_coordinate) in order and replaces the contents of
// `maxima` with the one-based numbers of those that are maxima, ascending. A
// candidate outside the volume, or with a coordinate that does not convert,
// is left out. Returns the number of maxima. Reads vol only; costs at most
// conn comparisons per candidate.
std::int32_t get_maxima(const double* vol, const std::int32_t dim[3], const double* coords, std::int32_t n,
                        int conn, std::vector<std::uint32_t>& maxima);

// The coordinate triples of a 2 x n list of (x, y) pairs, with z = 1.
std::vector<double> with_unit_z(const double* xy, std::int32_t n);

// Whether every z of the n triples in coords converts to 1 (a 3 x n list is
// used with a 2-D volume only then).
bool all_in_first_plane(const double* coords, std::int32_t n);

}  // namespace nrx::local_peaks
