// The estimate of fit_ramp (phasemap/ramps.hpp): the three mean wrapped
// forward differences, summed in their fixed order.
#pragma once

#include <cstdint>

#include "phasemap/phase_map.hpp"

namespace nrx::detail {

// Writes ramp[0..2] as fit_ramp documents it.
//
// Each axis's sum adds its terms visiting x outermost and z innermost, an
// order that strides across the whole map at every step. So the terms
// (wrapped differences, or +0.0 where a pair is not inside the mask) are
// first computed row by row in storage order, on every core, for the part of
// each row inside the mask, into a buffer of a few tens of megabytes (a block
// of x planes at a time when they need more); then the calling thread adds
// them up in visiting order. Adding the terms outside the mask's rows would
// change nothing: the sums start at +0.0 and so are never -0.0, and adding a
// zero to any other value leaves it unchanged.
//
// block_bytes bounds the buffer (unless a single x plane needs more); tests
// make it small to get many blocks.
constexpr std::int64_t ramp_block_bytes = std::int64_t{32} << 20;
void estimate_ramp(const double* pm, const double* mask, const Grid3& grid, double ramp[3],
                   std::int64_t block_bytes = ramp_block_bytes);

}  // namespace nrx::detail
