// Linear phase ramps of a phase map: estimation, removal and restoration.
//
// A ramp is three doubles (gx, gy, gz), the mean phase change in radians per
// voxel along the first, second and third axis. It is removed and restored
// about the centre of the grid, ((d0-1)/2, (d1-1)/2, (d2-1)/2), so that
// restoring the ramp that was removed gives the map back up to rounding.
// Maps, masks and sizes follow phasemap/phase_map.hpp. None of these
// functions allocates; each reads or writes every voxel once.
//
// Typical use:
//   double ramp[3] = {0, 0, 0};
//   estimate_ramps(pm, mask, dim, ramp);
//   std::copy_n(pm, voxel_count(dim), out);
//   remove_ramps(mask, dim, ramp, out);      // ... unwrap out ...
//   restore_ramps(mask, dim, ramp, out);
#pragma once

#include "phasemap/phase_map.hpp"

namespace nrx {

// Adds to ramp[0..2] (zeros on entry) the mean wrapped forward difference
// wrap(pm[next] - pm[v]) over all pairs of neighbours along each axis whose
// two voxels are both inside the mask; the phases themselves are not tested.
// The sums are accumulated visiting i outermost, then j, then k innermost, in
// that order of additions. An axis of the first two without a single pair
// gives 0/0, NaN; the third axis gives exactly +0.0 then (always so for a 2-D
// map). A NaN phase in a pair makes that axis NaN.
void estimate_ramps(const double* pm, const double* mask, const GridDims dim, double ramp[3]);

// Subtracts gx*(i - cx), then gy*(j - cy), then gz*(k - cz) from out at every
// voxel inside the mask, in place; voxels outside keep their value. Nothing
// is wrapped.
void remove_ramps(const double* mask, const GridDims dim, const double ramp[3], double* out);

// The inverse of remove_ramps: adds the same three terms in the same order.
void restore_ramps(const double* mask, const GridDims dim, const double ramp[3], double* out);

}  // namespace nrx
