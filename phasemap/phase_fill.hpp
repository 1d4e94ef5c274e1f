// Filling of empty phase voxels from their known neighbours.
#pragma once

#include "core/planes.hpp"
#include "phasemap/phase_map.hpp"

namespace nrx {

// Writes every voxel of pm_out and wmap_out (maps on `grid`; weights and
// kernel placement as in phasemap/phase_map.hpp). A known voxel, or any voxel
// when the kernel has no elements, is copied from pm and wmap. An empty voxel
// gets the sum of kernel value * phase over the known voxels its kernel box
// reaches, divided by their number m (not by the kernel's sum: a kernel
// element of 0 still counts), and weight 1.0; with m = 0 it is copied and
// stays empty. Weights are only tested against zero, phases are averaged as
// plain numbers, and every read comes from the inputs, so filled voxels do not
// feed each other and the visiting order does not matter. Where two NaNs
// meet, the kernel value's is passed on before the phase's and the sum's
// before the next term's. The outputs must not overlap the inputs. Cost: one
// kernel sweep per empty voxel that has a known voxel within reach, a few
// planes at a time on every core.
//
// Between those planes keep_going is asked, on the calling thread, whether to go
// on; returns false when it said no (the outputs are then only partly
// written), true when every voxel is written.
bool fill_empty_phase(const double* pm, const double* wmap, const Grid3& grid, const double* kernel,
                      const Grid3& kernel_grid, double* pm_out, double* wmap_out, KeepGoing keep_going = nullptr);

}  // namespace nrx
