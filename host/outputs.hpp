// Creation of output arrays (every element zero) that kernels can walk with
// 32-bit counts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/grid3.hpp"
#include "mex.h"

namespace nrx::host {

// A new numeric array with the given dimensions (each at least 0). Refuses
// with `too_large`, before anything is allocated, when its element count does
// not fit in 32 bits. An empty array always fits.
mxArray* create_numeric_array(const std::vector<std::int32_t>& dims, mxClassID class_id, mxComplexity complexity,
                              const std::string& too_large);

// A new real array of the class with the number of dimensions and the
// dimensions of `array`.
mxArray* create_like(const mxArray* array, mxClassID class_id);

// A new real three-dimensional array of the grid's size (the host drops a
// trailing 1).
mxArray* create_grid(const Grid3& grid, mxClassID class_id);

}  // namespace nrx::host
