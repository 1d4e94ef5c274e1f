// Smoothing of a phase map under a weight map.
#pragma once

#include "core/planes.hpp"
#include "phasemap/phase_map.hpp"

namespace nrx {

// Writes every voxel of out (maps on `grid`; kernel placement as in
// phasemap/phase_map.hpp): with w = kernel value * weight of each voxel its
// kernel box reaches inside the map (the voxel itself included, whatever the
// weights), out = sum(w * pm) / sum(w), both sums in double and in kernel
// order. A total that compares equal to 0.0, or a kernel without elements,
// keeps the voxel's own phase; a NaN weight or a NaN phase in the box (even
// with weight 0) gives NaN unless the total is 0; where two NaNs meet, the
// kernel value's is passed on before the weight's, the phase's before w's,
// and the sum's before the next term's. Nothing is wrapped; every
// read comes from the inputs, and out must not overlap them. Cost: one kernel
// sweep per voxel that has a voxel of non-zero weight within reach (per
// voxel when a kernel value is infinite or NaN), a few planes at a time on
// every core.
//
// Between those planes keep_going is asked, on the calling thread, whether to go
// on; returns false when it said no (out is then only partly written), true
// when every voxel is written.
bool weighted_blur(const double* pm, const double* wmap, const Grid3& grid, const double* kernel,
                   const Grid3& kernel_grid, double* out, KeepGoing keep_going = nullptr);

}  // namespace nrx
