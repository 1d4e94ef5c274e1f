// [pm, wmap] = nrx_phase_fill(pm, wmap, kernel): fills every empty voxel
// (weight 0) that has known neighbours within the kernel box with their
// kernel-weighted mean, and marks it known.
#include "host/arrays.hpp"
#include "host/frame.hpp"
#include "host/phase_map_args.hpp"
#include "phasemap/phase_fill.hpp"

namespace {

enum Input { PHASE_MAP, WEIGHT_MAP, KERNEL, INPUT_COUNT };
enum Output { FILLED_MAP, FILLED_WEIGHTS, OUTPUT_COUNT };

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;
    const PhaseMapArgs args("nrx_phase_fill", "usage: [pm,wmap] = nrx_phase_fill(pm,wmap,kernel)");

    args.check_counts(nrhs, INPUT_COUNT, nlhs, OUTPUT_COUNT, "2 output argument required");
    const DoubleGrid pm = args.map(prhs[PHASE_MAP], "pm");
    const double* wmap = args.matching_map(prhs[WEIGHT_MAP], "wmap", prhs[PHASE_MAP], "pm");
    const DoubleGrid kernel = args.kernel(prhs[KERNEL], "kernel", "pm");

    plhs[FILLED_MAP] = create_double_like(prhs[PHASE_MAP]);
    plhs[FILLED_WEIGHTS] = create_double_like(prhs[PHASE_MAP]);

    nrx::pad(pm.data, wmap, pm.dim, kernel.data, kernel.dim, mxGetPr(plhs[FILLED_MAP]),
             mxGetPr(plhs[FILLED_WEIGHTS]));
}
