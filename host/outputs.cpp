#include "host/outputs.hpp"

#include <algorithm>
#include <limits>

#include "host/frame.hpp"

namespace nrx::host {

mxArray* create_numeric_array(const std::vector<std::int32_t>& dims, mxClassID class_id, mxComplexity complexity,
                              const std::string& too_large)
{
    if (std::find(dims.begin(), dims.end(), 0) == dims.end()) {
        std::int64_t count = 1;
        for (std::int32_t size : dims) {
            // Both factors are below 2^31, so the product cannot overflow 64 bits.
            count *= size;
            if (count > std::numeric_limits<std::int32_t>::max()) {
                refuse(too_large);
            }
        }
    }
    const std::vector<mwSize> sizes(dims.begin(), dims.end());
    return mxCreateNumericArray(sizes.size(), sizes.data(), class_id, complexity);
}

mxArray* create_like(const mxArray* array, mxClassID class_id)
{
    return mxCreateNumericArray(mxGetNumberOfDimensions(array), mxGetDimensions(array), class_id, mxREAL);
}

mxArray* create_grid(const Grid3& grid, mxClassID class_id)
{
    const mwSize dims[3] = {static_cast<mwSize>(grid.nx), static_cast<mwSize>(grid.ny),
                            static_cast<mwSize>(grid.nz)};
    return mxCreateNumericArray(3, dims, class_id, mxREAL);
}

}  // namespace nrx::host
