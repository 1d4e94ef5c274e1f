// Argument readers shared by the two deformation-field plug-ins: a field
// comes as three single-precision component volumes of equal size, and the
// voxel grid as a 4x4 double matrix.
#pragma once

#include "core/grid3.hpp"
#include "mex.h"

namespace nrx::host {

// The three components of a deformation field, in order: each single, real,
// full, at most three dimensions (a 2-D component is a grid with nz = 1), the
// second and third of the first's dimensions, compared first, second, third.
// Returns that grid.
Grid3 read_field(const mxArray* const components[3]);

// The 4x4 matrix: numeric, real, full, double, 4 rows and 4 columns. Returns
// its 16 elements, column-major.
const double* read_affine_matrix(const mxArray* array);

}  // namespace nrx::host
