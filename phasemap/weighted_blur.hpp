// Smoothing of a phase map under a weight map.
#pragma once

#include "phasemap/kernel_box.hpp"

namespace nrx {

// Writes every voxel of out (map size dim; kernel placement as in
// phasemap/kernel_box.hpp): with w = kernel value * weight of each voxel its
// kernel box reaches inside the map (the voxel itself included, whatever the
// weights), out = sum(w * pm) / sum(w), both sums in double and in kernel
// order. A total that compares equal to 0.0, or a kernel without elements,
// keeps the voxel's own phase; a NaN weight or a NaN phase in the box (even
// with weight 0) gives NaN unless the total is 0. Nothing is wrapped; every
// read comes from the inputs, and out must not overlap them. Cost: one kernel
// sweep per voxel.
void smooth(const double* pm, const double* wmap, const GridDims dim, const double* kernel, const GridDims kdim,
            double* out);

}  // namespace nrx
