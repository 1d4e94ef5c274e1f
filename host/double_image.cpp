#include "host/double_image.hpp"

#include "host/frame.hpp"

namespace nrx::host {

Volume read_double_image(const mxArray* array, const std::string& not_double, const std::string& not_2d_or_3d,
                         const std::string& too_large)
{
    if (!is_real_full_double(array)) {
        refuse(not_double);
    }
    const mwSize ndims = mxGetNumberOfDimensions(array);
    if (ndims != 2 && ndims != 3) {
        refuse(not_2d_or_3d);
    }
    return read_volume(array, too_large);
}

}  // namespace nrx::host
