// Linear phase ramps of a phase map: fitting and removing one, adding one back.
//
// A ramp is three doubles (gx, gy, gz), the mean phase change in radians per
// voxel along the first, second and third axis. It is removed and added about
// the centre of the grid, c = ((nx-1)/2, (ny-1)/2, (nz-1)/2), so that adding
// the ramp that was removed gives the map back up to rounding. Maps and masks
// follow phasemap/phase_map.hpp.
//
// Typical use:
//   double ramp[3];
//   fit_ramp(pm, mask, grid, ramp, flat);   // ... unwrap flat ...
//   add_ramp(flat, mask, grid, ramp, out);
#pragma once

#include "phasemap/phase_map.hpp"

namespace nrx {

// Writes ramp[0..2] and every voxel of out.
//
// The ramp along each axis is the mean wrapped forward difference
// wrap(pm[next] - pm[v]) over all pairs of neighbours along that axis whose
// two voxels are both inside the mask; the phases themselves are not tested.
// The sums start at +0.0 and are accumulated visiting x outermost, then y,
// then z innermost, in that order of additions. An axis of the first two
// without a single pair gives 0/0, NaN; the third axis gives exactly +0.0
// then (always so for a 2-D map). A NaN phase in a pair makes that axis NaN
// (the last NaN term's, in visiting order).
//
// out is pm minus gx*(x - cx), then gy*(y - cy), then gz*(z - cz) at every
// voxel inside the mask, and pm at every voxel outside; nothing is wrapped.
// out must not overlap pm or mask. Cost: two passes over the map, on every
// core, and a pass adding up on the calling thread; the estimate keeps its
// terms in out until the removal writes it (in a buffer of its own only for
// a map less than three voxels wide).
void fit_ramp(const double* pm, const double* mask, const Grid3& grid, double ramp[3], double* out);

// Writes every voxel of out: pm plus gx*(x - cx), then gy*(y - cy), then
// gz*(z - cz) at every voxel inside the mask, pm at every voxel outside; the
// inverse of fit_ramp's removal. A NaN term makes every voxel inside the mask
// NaN, even a gz on a 2-D map (gz * 0); a NaN x term is passed on before a
// NaN phase, a NaN phase before a NaN y or z term. out must not overlap pm or
// mask. Cost: one pass over the map, on every core.
void add_ramp(const double* pm, const double* mask, const Grid3& grid, const double ramp[3], double* out);

}  // namespace nrx
