// pm = nrx_weighted_blur(pm, wmap, kernel): every voxel becomes the mean of
// the phases in its kernel box, each weighted by kernel value times weight.
#include "host/arrays.hpp"
#include "host/frame.hpp"
#include "host/phase_map_args.hpp"
#include "phasemap/weighted_blur.hpp"

namespace {

enum Input { PHASE_MAP, WEIGHT_MAP, KERNEL, INPUT_COUNT };
enum Output { SMOOTHED_MAP, OUTPUT_COUNT };

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;
    const PhaseMapArgs args("nrx_weighted_blur", "usage: pm = nrx_weighted_blur(pm,wmap,kernel)");

    args.check_counts(nrhs, INPUT_COUNT, nlhs, OUTPUT_COUNT, "1 output argument required");
    const DoubleGrid pm = args.map(prhs[PHASE_MAP], "pm");
    const double* wmap = args.matching_map(prhs[WEIGHT_MAP], "wmap", prhs[PHASE_MAP], "pm");
    const DoubleGrid kernel = args.kernel(prhs[KERNEL], "kernel", "pm");

    plhs[SMOOTHED_MAP] = create_double_like(prhs[PHASE_MAP]);

    nrx::smooth(pm.data, wmap, pm.dim, kernel.data, kernel.dim, mxGetPr(plhs[SMOOTHED_MAP]));
}
