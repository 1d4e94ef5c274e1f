// pm = nrx_weighted_blur(pm, wmap, kernel): every voxel becomes the mean of
// the phases in its kernel box, each weighted by kernel value times weight.
#include "host/frame.hpp"
#include "host/interrupt.hpp"
#include "host/outputs.hpp"
#include "host/sizes.hpp"
#include "phasemap/phase_map_arguments.hpp"
#include "phasemap/weighted_blur.hpp"

namespace {

enum Input { PHASE_MAP, WEIGHT_MAP, KERNEL, INPUT_COUNT };
enum Output { SMOOTHED_MAP, OUTPUT_COUNT };

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;
    const PhaseMapArgs args("pm = ", "(pm,wmap,kernel)");

    args.check_counts(nrhs, INPUT_COUNT, nlhs, OUTPUT_COUNT, "1 output argument required");
    const nrx::Grid3 pm = args.map(prhs[PHASE_MAP], "pm");
    const double* wmap = args.matching_map(prhs[WEIGHT_MAP], "wmap", prhs[PHASE_MAP], "pm");
    const nrx::Grid3 kernel = args.kernel(prhs[KERNEL], "kernel", "pm");

    plhs[SMOOTHED_MAP] = create_like(prhs[PHASE_MAP], mxDOUBLE_CLASS, Contents::unset);

    if (!nrx::weighted_blur(data_of<double>(prhs[PHASE_MAP]), wmap, pm, data_of<double>(prhs[KERNEL]), kernel,
                            mxGetPr(plhs[SMOOTHED_MAP]), keep_going)) {
        stop_for_interrupt();
    }
}
