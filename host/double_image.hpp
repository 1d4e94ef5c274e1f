// Reading a 2-D or 3-D image of doubles, with the caller's own messages.
#pragma once

#include <string>

#include "host/arrays.hpp"

namespace nrx::host {

// Refuses `array` with `not_double` unless it passes the "numeric, real, full
// and double" test, then with `not_2d_or_3d` unless it has 2 or 3
// dimensions, then with `too_large` unless its sizes fit in 32 bits; returns
// it as a Volume (dim[2] = 1 for 2-D).
Volume read_double_image(const mxArray* array, const std::string& not_double, const std::string& not_2d_or_3d,
                         const std::string& too_large);

}  // namespace nrx::host
