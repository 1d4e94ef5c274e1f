// [pm, wmap] = nrx_phase_fill(pm, wmap, kernel): fills every empty voxel
// (weight 0) that has known neighbours within the kernel box with their
// kernel-weighted mean, and marks it known.
#include "host/frame.hpp"
#include "host/interrupt.hpp"
#include "host/outputs.hpp"
#include "host/sizes.hpp"
#include "phasemap/phase_map_arguments.hpp"
#include "phasemap/phase_fill.hpp"

namespace {

enum Input { PHASE_MAP, WEIGHT_MAP, KERNEL, INPUT_COUNT };
enum Output { FILLED_MAP, FILLED_WEIGHTS, OUTPUT_COUNT };

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;
    const PhaseMapArgs args("[pm,wmap] = ", "(pm,wmap,kernel)");

    args.check_counts(nrhs, INPUT_COUNT, nlhs, OUTPUT_COUNT, "2 output argument required");
    const nrx::Grid3 pm = args.map(prhs[PHASE_MAP], "pm");
    const double* wmap = args.matching_map(prhs[WEIGHT_MAP], "wmap", prhs[PHASE_MAP], "pm");
    const nrx::Grid3 kernel = args.kernel(prhs[KERNEL], "kernel", "pm");

    plhs[FILLED_MAP] = create_like(prhs[PHASE_MAP], mxDOUBLE_CLASS, Contents::unset);
    plhs[FILLED_WEIGHTS] = create_like(prhs[PHASE_MAP], mxDOUBLE_CLASS, Contents::unset);

    if (!nrx::fill_empty_phase(data_of<double>(prhs[PHASE_MAP]), wmap, pm, data_of<double>(prhs[KERNEL]), kernel,
                               mxGetPr(plhs[FILLED_MAP]), mxGetPr(plhs[FILLED_WEIGHTS]), keep_going)) {
        stop_for_interrupt();
    }
}
