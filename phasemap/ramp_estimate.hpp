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
// first computed row by row, on every core, for the part of each row inside
// the mask, into `scratch` (scratch_size doubles) laid out in visiting order;
// then the calling thread adds them up front to back. When they need more
// room, that goes a block of x planes at a time (a buffer of its own when a
// single x plane needs more). Adding the terms outside the mask's rows would
// change nothing: the sums start at +0.0 and so are never -0.0, and adding a
// zero to any other value leaves it unchanged.
void estimate_ramp(const double* pm, const double* mask, const Grid3& grid, double ramp[3], double* scratch,
                   std::int64_t scratch_size);

}  // namespace nrx::detail
