// Creation of output arrays that kernels can walk with 32-bit counts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mex.h"

namespace nrx::host {

// A new zero-filled numeric array with the given dimensions (each at least 0).
// Refuses with `too_large`, before anything is allocated, when its element
// count does not fit in 32 bits. An empty array always fits.
mxArray* create_numeric_array(const std::vector<std::int32_t>& dims, mxClassID class_id, mxComplexity complexity,
                              const std::string& too_large);

}  // namespace nrx::host
