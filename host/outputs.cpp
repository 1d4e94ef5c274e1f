#include "host/outputs.hpp"

#include <algorithm>
#include <limits>

#include "host/frame.hpp"

namespace nrx::host {

namespace {

mxArray* create(mwSize ndims, const mwSize* dims, mxClassID class_id, mxComplexity complexity, Contents contents)
{
    return contents == Contents::unset ? mxCreateUninitNumericArray(ndims, dims, class_id, complexity)
                                       : mxCreateNumericArray(ndims, dims, class_id, complexity);
}

}  // namespace

mxArray* create_numeric_array(const std::vector<std::int32_t>& dims, mxClassID class_id, mxComplexity complexity,
                              const std::string& too_large, Contents contents)
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
    return create(sizes.size(), sizes.data(), class_id, complexity, contents);
}

mxArray* create_like(const mxArray* array, mxClassID class_id, Contents contents)
{
    return create(mxGetNumberOfDimensions(array), mxGetDimensions(array), class_id, mxREAL, contents);
}

mxArray* create_grid(const Grid3& grid, mxClassID class_id, Contents contents)
{
    const mwSize dims[3] = {static_cast<mwSize>(grid.nx), static_cast<mwSize>(grid.ny),
                            static_cast<mwSize>(grid.nz)};
    return create(3, dims, class_id, mxREAL, contents);
}

}  // namespace nrx::host
