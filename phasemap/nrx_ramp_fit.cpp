// [ramp, pm] = nrx_ramp_fit(pm, mask): the linear phase ramp of a wrapped
// phase map, and the map with that ramp removed inside the mask.
#include "host/frame.hpp"
#include "host/outputs.hpp"
#include "host/sizes.hpp"
#include "phasemap/phase_map_arguments.hpp"
#include "phasemap/ramps.hpp"

namespace {

enum Input { PHASE_MAP, MASK, INPUT_COUNT };
enum Output { RAMP, RAMP_FREE_MAP, OUTPUT_COUNT };

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;
    const PhaseMapArgs args("[ramp,pm] = ", "(pm,mask)");

    args.check_counts(nrhs, INPUT_COUNT, nlhs, OUTPUT_COUNT, "2 output arguments required");
    const nrx::Grid3 pm = args.map(prhs[PHASE_MAP], "pm");
    const double* mask = args.matching_map(prhs[MASK], "mask", prhs[PHASE_MAP], "pm");

    plhs[RAMP] = mxCreateDoubleMatrix(3, 1, mxREAL);
    plhs[RAMP_FREE_MAP] = create_like(prhs[PHASE_MAP], mxDOUBLE_CLASS, Contents::unset);

    nrx::fit_ramp(data_of<double>(prhs[PHASE_MAP]), mask, pm, mxGetPr(plhs[RAMP]), mxGetPr(plhs[RAMP_FREE_MAP]));
}
