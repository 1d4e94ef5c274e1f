#include "host/output_array.hpp"

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

}  // namespace nrx::host
