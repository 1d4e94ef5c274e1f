// Sizes and data of host arrays, as the kernels take them.
//
// The host counts sizes in 64 bits; every kernel of this toolbox indexes with
// 32-bit signed integers. The readers here are the one place where sizes cross
// from one to the other: a size or element count beyond the 32-bit range is
// refused with the caller's message, never truncated.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/grid3.hpp"
#include "mex.h"

namespace nrx::host {

// Every dimension as a 32-bit signed integer (at least two, first dimension
// first). Refuses with `too_large` when a dimension or the element count does
// not fit, so an empty 3e9 x 0 array is refused too.
std::vector<std::int32_t> dims_as_int32(const mxArray* array, const std::string& too_large);

// The element count, guarded as dims_as_int32 guards it.
std::int32_t count_as_int32(const mxArray* array, const std::string& too_large);

// The grid of an array of at most three dimensions (the caller checks the
// count first, with its own message), guarded as dims_as_int32 guards it. A
// 2-D array is a grid with nz = 1.
Grid3 grid_of(const mxArray* array, const std::string& too_large);

// A 2-D or 3-D image of doubles: refuses with `not_double` unless it passes
// the "numeric, real, full and double" test, then with `not_2d_or_3d` unless
// it has two or three dimensions, then with `too_large` unless its sizes fit
// in 32 bits.
Grid3 read_double_image(const mxArray* array, const std::string& not_double, const std::string& not_2d_or_3d,
                        const std::string& too_large);

// The real data of an array whose class the caller has checked to hold T.
template <typename T>
T* data_of(const mxArray* array)
{
    return static_cast<T*>(mxGetData(array));
}

}  // namespace nrx::host
