// Text arguments.
#pragma once

#include <initializer_list>
#include <string>

#include "mex.h"

namespace nrx::host {

// The text of a char array as the host's C-string copy gives it: all its
// characters in storage order, up to the first NUL character if it holds one.
// The caller checks that the array is a char array.
std::string read_text(const mxArray* chars);

// The position in `choices` of the text of a char array, compared exactly;
// -1 when it is none of them.
int text_choice(const mxArray* chars, std::initializer_list<const char*> choices);

}  // namespace nrx::host
