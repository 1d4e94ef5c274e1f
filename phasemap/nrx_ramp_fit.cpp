// [ramp, pm] = nrx_ramp_fit(pm, mask): the linear phase ramp of a wrapped
// phase map, and the map with that ramp removed inside the mask.
#include <algorithm>

#include "host/arrays.hpp"
#include "host/frame.hpp"
#include "host/phase_map_args.hpp"
#include "phasemap/ramps.hpp"

namespace {

enum Input { PHASE_MAP, MASK, INPUT_COUNT };
enum Output { RAMP, RAMP_FREE_MAP, OUTPUT_COUNT };

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;
    const PhaseMapArgs args("nrx_ramp_fit", "usage: [ramp,pm] = nrx_ramp_fit(pm,mask)");

    args.check_counts(nrhs, INPUT_COUNT, nlhs, OUTPUT_COUNT, "2 output arguments required");
    const DoubleGrid pm = args.map(prhs[PHASE_MAP], "pm");
    const double* mask = args.matching_map(prhs[MASK], "mask", prhs[PHASE_MAP], "pm");

    plhs[RAMP] = mxCreateDoubleMatrix(3, 1, mxREAL);
    plhs[RAMP_FREE_MAP] = create_double_like(prhs[PHASE_MAP]);
    double* ramp = mxGetPr(plhs[RAMP]);
    double* out = mxGetPr(plhs[RAMP_FREE_MAP]);

    nrx::estimate_ramps(pm.data, mask, pm.dim, ramp);
    std::copy_n(pm.data, pm.count(), out);
    nrx::remove_ramps(mask, pm.dim, ramp, out);
}
