#include "host/sizes.hpp"

#include <limits>
#include <stdexcept>

#include "host/checks.hpp"
#include "host/frame.hpp"

namespace nrx::host {

namespace {
constexpr mwSize int32_max = std::numeric_limits<std::int32_t>::max();
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

Grid3 grid_of(const mxArray* array, const std::string& too_large)
{
    const std::vector<std::int32_t> dims = dims_as_int32(array, too_large);
    if (dims.size() > 3) {
        throw std::logic_error("grid_of called with more than three dimensions");
    }
    return {dims[0], dims[1], dims.size() == 3 ? dims[2] : 1};
}

Grid3 read_double_image(const mxArray* array, const std::string& not_double, const std::string& not_2d_or_3d,
                        const std::string& too_large)
{
    if (!is_real_full_double(array)) {
        refuse(not_double);
    }
    if (!is_2d_or_3d(array)) {
        refuse(not_2d_or_3d);
    }
    return grid_of(array, too_large);
}

}  // namespace nrx::host
