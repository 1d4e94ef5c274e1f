// out = nrx_morphology(ima, kernel, function): grey-level dilation
// ("dilate") or erosion ("erode") of a 2-D or 3-D image with a weighted
// structuring kernel.
#include "host/argument_counts.hpp"
#include "host/checks.hpp"
#include "host/frame.hpp"
#include "host/interrupt.hpp"
#include "host/outputs.hpp"
#include "host/sizes.hpp"
#include "host/text.hpp"
#include "segmentation/morphology.hpp"

namespace {

enum Input { IMAGE, KERNEL, FUNCTION };
enum Function { DILATE, ERODE };

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    check_argument_counts(nrhs, 3, 3, nlhs, 1, 1);
    const mxArray* ima = prhs[IMAGE];
    const nrx::Grid3 image = read_double_image(
        ima, with_plugin_name("ima must be numeric, real, full and double"),
        with_plugin_name("ima must be 2 or 3-dimensional"),
        with_plugin_name("ima too large: dimensions and element count must fit in 32-bit integers"));

    const mxArray* kernel = prhs[KERNEL];
    if (!is_real_full_double(kernel)) {
        refuse(with_plugin_name("kernel must be numeric, real, full and double"));
    }
    if (!same_dimension_count(kernel, ima)) {
        refuse(with_plugin_name("ima and kernel must have same dimensionality"));
    }
    const nrx::Grid3 weights =
        grid_of(kernel, with_plugin_name("kernel too large: dimensions and element count must fit in 32-bit integers"));

    const mxArray* function = prhs[FUNCTION];
    if (!is_text_row(function)) {
        refuse(with_plugin_name("function should be a string"));
    }
    const int chosen = text_choice(function, {"dilate", "erode"});
    if (chosen < 0) {
        refuse(with_plugin_name("function must have value 'dilate' or 'erode'"));
    }

    plhs[0] = create_like(ima, mxDOUBLE_CLASS, Contents::unset);
    if (!nrx::dilate_or_erode(data_of<double>(ima), image, data_of<double>(kernel), weights, chosen == DILATE,
                              data_of<double>(plhs[0]), keep_going)) {
        stop_for_interrupt();
    }
}
