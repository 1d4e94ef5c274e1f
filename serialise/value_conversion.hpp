// Conversion between host arrays and the values of the packing codec
// (serialise/value.hpp), for the plug-ins that pack and unpack values.
#pragma once

#include "mex.h"
#include "serialise/value.hpp"

namespace nrx::host {

// Describes `array` as a Value whose element runs point into the array's own
// data, so `array` must outlive the Value. Refuses, with a message naming
// the class, values that have no packed form (function handles, objects,
// ...), and values nested more than max_nesting_depth deep or with a
// dimension or element count beyond 2^31 - 1. Throws FormatError for char
// arrays that have no UTF-8 form (host_chars.hpp).
Value value_of_array(const mxArray* array);

// A new host array equal to `value`. Refuses values this host cannot hold
// (complex integers); throws FormatError for char arrays this host's code
// units cannot hold (host_chars.hpp).
mxArray* array_of_value(const Value& value);

}  // namespace nrx::host
