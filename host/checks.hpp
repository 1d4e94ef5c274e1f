// Named tests of host arrays, shared by every gateway so that each reads like
// its argument contract:
//
//   if (!is_real_full_of_class(v, mxUINT8_CLASS)) refuse("Wrong sort of data (1).");
//   if (!is_plain_matrix(m, 4, 4)) refuse("Affine transform matrix must be 4x4.");
//
// Each test only inspects the array; which message a failure gets, and in
// which order the tests run, is the gateway's contract.
#pragma once

#include <cstddef>

#include "mex.h"

namespace nrx::host {

// Numeric, not complex, not sparse.
bool is_real_full(const mxArray* array);

// Numeric, not complex, not sparse, of the given class.
bool is_real_full_of_class(const mxArray* array, mxClassID class_id);

// The "numeric, real, full and double" test: numeric, then not complex, then
// not sparse, then of class double.
bool is_real_full_double(const mxArray* array);

// Numeric, real, full and double with `rows` rows and `columns` columns as
// the host counts them (columns: the product of every dimension after the
// first).
bool is_plain_matrix(const mxArray* array, std::size_t rows, std::size_t columns);

bool has_n_elements(const mxArray* array, std::size_t count);

// Two or three dimensions (the host reports at least two for every array).
bool is_2d_or_3d(const mxArray* array);

bool same_dimension_count(const mxArray* a, const mxArray* b);

// The same number of dimensions and the same size along each.
bool same_size(const mxArray* a, const mxArray* b);

// A char array of one row.
bool is_text_row(const mxArray* array);

}  // namespace nrx::host
