// Counting the elements that are not NaN along one dimension of an array.
//
// X is a column-major array of n >= 0 dimensions dims[0 .. n-1]; the caller
// guarantees that every running product of its sizes, and the element count
// of the result, fit in 32 bits. Reducing along the zero-based
// dimension d (any d >= 0; a dimension at or beyond n has length 1) gives Y
// of the shape `reduced_shape`: X's with dims[d] set to 1. Element e of Y is
// the number of elements of the fibre of X through e along d that are not
// NaN after conversion to floating point (single for integers of up to 32
// bits, exact up to 16; double for 64-bit ones). Integer elements never
// convert to NaN, so for them every element counts. Counts are exact
// integers, stored as double, or rounded to single for single X. Integer X
// is not read (and may be null).
//
// Typical use:
//
//   const std::vector<std::int32_t> q = nrx::reduced_shape(dims, d);
//   std::vector<double> y(count of q);
//   nrx::nan_reduce(x, dims.data(), n, d, y.data());
//
// Cost: one write of every element of Y and, for floating-point X only, one
// read of every element of X, in memory order, split over every OpenMP thread
// (the counts are the same at any thread count); scratch is up to 8192
// counters on each thread's stack. A fibre of length 0 counts 0.
#pragma once

#include <cstdint>
#include <type_traits>
#include <vector>

namespace nrx {

// The smallest k with dims[k] >= 2, or n when there is none (a scalar, or an
// array with a dimension of 0 and the others 1): the dimension reduced when
// the caller names none.
std::int32_t default_dimension(const std::vector<std::int32_t>& dims);

// dims with dims[d] set to 1; dims unchanged when d >= n.
std::vector<std::int32_t> reduced_shape(const std::vector<std::int32_t>& dims, std::int32_t d);

// The type of the counts: single for single X, double otherwise.
template <typename T>
using nan_count_t = std::conditional_t<std::is_same_v<T, float>, float, double>;

// Writes every element of y (of reduced_shape(dims, d)): the count of each
// fibre of x along d; zeros when X's length along d is 0, nothing when Y is
// empty. Not in place. T is double, float, or a signed or unsigned integer
// of 8, 16, 32 or 64 bits.
template <typename T>
void nan_reduce(const T* x, const std::int32_t* dims, std::int32_t n, std::int32_t d, nan_count_t<T>* y);

}  // namespace nrx
