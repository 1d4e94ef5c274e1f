// The candidate list of nrx_local_peaks: how its one-based coordinates are
// read as integers, and the 2 x n form of a 2-D map taken as 3 x n. Shared by
// the kernel and the plug-in's two hosts.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/int32.hpp"

namespace nrx::local_peaks {

// A one-based list coordinate as an integer: the integer part of v + 0.1, so
// that 2.9 gives 3 and 0.85 gives 0; nothing when v + 0.1 is not finite or its
// integer part does not fit in 32 bits. Inline: the kernel converts three per
// candidate.
inline std::optional<std::int32_t> list_coordinate(double v) { return trunc_to_int32(v + 0.1); }

// The coordinate triples of a 2 x n list of (x, y) pairs, with z = 1.
std::vector<double> with_unit_z(const double* xy, std::int32_t n);

// Whether every z of the n triples in coords converts to 1 (a 3 x n list is
// used with a 2-D volume only then).
bool all_in_first_plane(const double* coords, std::int32_t n);

}  // namespace nrx::local_peaks
