// out = nrx_morphology(ima, kernel, function): grey-level dilation
// ("dilate") or erosion ("erode") of a 2-D or 3-D image with a weighted
// structuring kernel.
#include <algorithm>
#include <string>

#include "host/argument_counts.hpp"
#include "host/arrays.hpp"
#include "host/char_arrays.hpp"
#include "host/double_image.hpp"
#include "host/frame.hpp"
#include "segmentation/morphology.hpp"

namespace {

enum Input { IMAGE, KERNEL, FUNCTION };

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    check_argument_counts(nrhs, 3, 3, nlhs, 1, 1);
    const mxArray* ima = prhs[IMAGE];
    const Volume image = read_double_image(
        ima, "nrx_morphology: ima must be numeric, real, full and double",
        "nrx_morphology: ima must be 2 or 3-dimensional",
        "nrx_morphology: ima too large: dimensions and element count must fit in 32-bit integers");
    const mwSize ndims = mxGetNumberOfDimensions(ima);

    const mxArray* kernel = prhs[KERNEL];
    if (!is_real_full_double(kernel)) {
        refuse("nrx_morphology: kernel must be numeric, real, full and double");
    }
    if (mxGetNumberOfDimensions(kernel) != ndims) {
        refuse("nrx_morphology: ima and kernel must have same dimensionality");
    }
    const Volume weights = read_volume(
        kernel, "nrx_morphology: kernel too large: dimensions and element count must fit in 32-bit integers");

    const mxArray* function = prhs[FUNCTION];
    if (!mxIsChar(function) || mxGetM(function) != 1) {
        refuse("nrx_morphology: function should be a string");
    }
    const std::string name = read_text(function);
    if (name != "dilate" && name != "erode") {
        refuse("nrx_morphology: function must have value 'dilate' or 'erode'");
    }

    // The output starts as the image, so every voxel's own value takes part.
    plhs[0] = create_double_like(ima);
    double* out = mxGetPr(plhs[0]);
    const auto* image_data = static_cast<const double*>(image.data);
    std::copy_n(image_data, image.count(), out);

    nrx::morphology::do_it(image_data, image.dim, static_cast<const double*>(weights.data), weights.dim,
                           name == "dilate", out);
}
