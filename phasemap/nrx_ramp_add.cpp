// pm = nrx_ramp_add(pm, mask, ramps): adds a linear phase ramp back to a
// phase map inside the mask, undoing nrx_ramp_fit's removal.
#include "host/checks.hpp"
#include "host/frame.hpp"
#include "host/outputs.hpp"
#include "host/sizes.hpp"
#include "phasemap/phase_map_arguments.hpp"
#include "phasemap/ramps.hpp"

namespace {

enum Input { PHASE_MAP, MASK, RAMPS, INPUT_COUNT };
enum Output { RAMPED_MAP, OUTPUT_COUNT };

// The ramp (gx, gy, gz): three doubles as a 3x1 or 1x3 array. The class is
// tested after the shape, so that a wrong shape is reported as such whatever
// the class.
const double* read_ramps(const nrx::host::PhaseMapArgs& args, const mxArray* ramps)
{
    const mwSize rows = mxGetM(ramps);
    const mwSize columns = mxGetN(ramps);
    if (!((rows == 1 && columns == 3) || (rows == 3 && columns == 1))) {
        args.refuse("ramps must be 3x1 or 1x3");
    }
    if (!nrx::host::is_real_full_double(ramps)) {
        args.refuse("ramps must be numeric, real, full and double");
    }
    return mxGetPr(ramps);
}

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;
    const PhaseMapArgs args("pm = ", "(pm,mask,ramps)");

    args.check_counts(nrhs, INPUT_COUNT, nlhs, OUTPUT_COUNT, "1 output argument required");
    const nrx::Grid3 pm = args.map(prhs[PHASE_MAP], "pm");
    const double* mask = args.matching_map(prhs[MASK], "mask", prhs[PHASE_MAP], "pm");
    const double* ramps = read_ramps(args, prhs[RAMPS]);

    plhs[RAMPED_MAP] = create_like(prhs[PHASE_MAP], mxDOUBLE_CLASS, Contents::unset);

    nrx::add_ramp(data_of<double>(prhs[PHASE_MAP]), mask, pm, ramps, mxGetPr(plhs[RAMPED_MAP]));
}
