// Text arguments.
#pragma once

#include <string>

#include "mex.h"

namespace nrx::host {

// The text of a char array as the host's C-string copy gives it: all its
// characters in storage order, up to the first NUL character if it holds one.
// The caller checks that the array is a char array.
std::string read_text(const mxArray* chars);

}  // namespace nrx::host
