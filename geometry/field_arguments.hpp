// Argument readers shared by the two deformation-field plug-ins: a field
// comes as three single-precision component volumes of equal size, and the
// voxel grid as a 4x4 double matrix.
#pragma once

#include "core/grid3.hpp"
#include "mex.h"

namespace nrx::host {

// One component of a deformation field: single, real, full, at most three
// dimensions (a 2-D component is a grid with nz = 1).
Grid3 read_field_component(const mxArray* array);

// Reads a further component and refuses it unless its dimensions equal the
// first component's, compared first, second, third.
void require_matching_component(const mxArray* array, const Grid3& first);

// The 4x4 matrix: numeric, real, full, double, 4 rows and 4 columns. Returns
// its 16 elements, column-major.
const double* read_affine_matrix(const mxArray* array);

}  // namespace nrx::host
