#include "host/arrays.hpp"

#include <limits>
#include <stdexcept>

#include "host/frame.hpp"

namespace nrx::host {

namespace {
constexpr mwSize int32_max = std::numeric_limits<std::int32_t>::max();
}

bool is_real_full_double(const mxArray* array)
{
    return mxIsNumeric(array) && !mxIsComplex(array) && !mxIsSparse(array) && mxIsDouble(array);
}

std::vector<std::int32_t> dims_as_int32(const mxArray* array, const std::string& too_large)
{
    const mwSize ndims = mxGetNumberOfDimensions(array);
    const mwSize* dims = mxGetDimensions(array);
    std::vector<std::int32_t> result(ndims);
    mwSize count = 1;
    for (mwSize k = 0; k < ndims; ++k) {
        if (dims[k] > int32_max) {
            refuse(too_large);
        }
        result[k] = static_cast<std::int32_t>(dims[k]);
        // Each factor is at most 2^31 - 1 and the running count stays below
        // 2^31, so the product cannot overflow 64 bits before it is tested.
        count *= dims[k];
        if (count > int32_max) {
            refuse(too_large);
        }
    }
    return result;
}

std::int32_t count_as_int32(const mxArray* array, const std::string& too_large)
{
    std::int32_t count = 1;
    for (std::int32_t size : dims_as_int32(array, too_large)) {
        count *= size;
    }
    return count;
}

Volume read_volume(const mxArray* array, const std::string& too_large)
{
    const std::vector<std::int32_t> dims = dims_as_int32(array, too_large);
    if (dims.size() > 3) {
        throw std::logic_error("read_volume called with more than three dimensions");
    }
    Volume volume{{1, 1, 1}, mxGetData(array)};
    for (std::size_t k = 0; k < dims.size(); ++k) {
        volume.dim[k] = dims[k];
    }
    return volume;
}

mxArray* create_double_like(const mxArray* array)
{
    return mxCreateNumericArray(mxGetNumberOfDimensions(array), mxGetDimensions(array), mxDOUBLE_CLASS, mxREAL);
}

mxArray* create_volume(const Volume& volume, mxClassID class_id)
{
    const mwSize dims[3] = {static_cast<mwSize>(volume.dim[0]), static_cast<mwSize>(volume.dim[1]),
                            static_cast<mwSize>(volume.dim[2])};
    return mxCreateNumericArray(3, dims, class_id, mxREAL);
}

}  // namespace nrx::host
