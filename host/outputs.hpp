// Creation of output arrays that kernels can walk with 32-bit counts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/grid3.hpp"
#include "mex.h"

namespace nrx::host {

// What a new array holds. `unset` is for an array the kernel writes in full
// before the call returns: it saves the host a pass of zeros over it, and the
// memory is then first touched by the kernel, on every core. (An array
// destroyed when a call stops early is never seen, set or not.)
enum class Contents { zeros, unset };

// A new numeric array with the given dimensions (each at least 0). Refuses
// with `too_large`, before anything is allocated, when its element count does
// not fit in 32 bits. An empty array always fits.
mxArray* create_numeric_array(const std::vector<std::int32_t>& dims, mxClassID class_id, mxComplexity complexity,
                              const std::string& too_large, Contents contents = Contents::zeros);

// A new real array of the class with the number of dimensions and the
// dimensions of `array`.
mxArray* create_like(const mxArray* array, mxClassID class_id, Contents contents);

// A new real three-dimensional array of the grid's size (the host drops a
// trailing 1).
mxArray* create_grid(const Grid3& grid, mxClassID class_id, Contents contents);

}  // namespace nrx::host
