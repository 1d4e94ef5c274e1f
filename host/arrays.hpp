// Checks and readers for host arrays that several gateways share.
//
// The host counts sizes in 64 bits; every kernel of this toolbox indexes with
// 32-bit signed integers. The readers here are the one place where sizes cross
// from one to the other: a size or element count beyond the 32-bit range is
// refused with the caller's message, never truncated.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mex.h"

namespace nrx::host {

// The "numeric, real, full and double" test: numeric, then not complex, then
// not sparse, then of class double, in that order.
bool is_real_full_double(const mxArray* array);

// Every dimension as a 32-bit signed integer (at least two, first dimension
// first). Refuses with `too_large` when a dimension or the element count does
// not fit, so an empty 3e9 x 0 array is refused too.
std::vector<std::int32_t> dims_as_int32(const mxArray* array, const std::string& too_large);

// The element count, guarded as dims_as_int32 guards it.
std::int32_t count_as_int32(const mxArray* array, const std::string& too_large);

// A 3-D view of an array: its first three dimensions and its (writable) real
// data. A 2-D array is read with dim[2] = 1.
struct Volume {
    std::int32_t dim[3];
    void* data;

    std::int32_t count() const { return dim[0] * dim[1] * dim[2]; }
    bool same_dims(const Volume& other) const
    {
        return dim[0] == other.dim[0] && dim[1] == other.dim[1] && dim[2] == other.dim[2];
    }
};

// Reads an array of at most three dimensions (the caller checks the count
// first, with its own message) as a Volume.
Volume read_volume(const mxArray* array, const std::string& too_large);

// A new real double array with the number of dimensions and the dimensions
// of `array`, every element zero.
mxArray* create_double_like(const mxArray* array);

// A new real three-dimensional array of the volume's size (the host drops a
// trailing 1), every element zero.
mxArray* create_volume(const Volume& volume, mxClassID class_id);

}  // namespace nrx::host
