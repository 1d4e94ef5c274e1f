// [i, j, n, p] = nrx_region_graph(rima, pm): one row per pair of
// face-adjacent voxels in two different regions of a label image, with the
// two labels, a unit count and the phase difference across the border.
#include <algorithm>
#include <vector>

#include "host/frame.hpp"
#include "host/sizes.hpp"
#include "phasemap/phase_map_arguments.hpp"
#include "phasemap/region_graph.hpp"

namespace {

enum Input { LABELS, PHASE_MAP, INPUT_COUNT };
enum Output { SMALLER_LABEL, LARGER_LABEL, COUNT, PHASE_DIFFERENCE, OUTPUT_COUNT };

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;
    const PhaseMapArgs args("[i,j,n,p]=", "(rima,pm)");

    args.check_counts(nrhs, INPUT_COUNT, nlhs, OUTPUT_COUNT, "4 output argument required");
    const nrx::Grid3 rima = args.map(prhs[LABELS], "rima");
    const double* pm = args.matching_map(prhs[PHASE_MAP], "pm", prhs[LABELS], "rima");

    std::vector<double> lists[OUTPUT_COUNT];
    const std::size_t rows = nrx::region_border_pairs(data_of<double>(prhs[LABELS]), pm, rima, lists[SMALLER_LABEL],
                                                      lists[LARGER_LABEL], lists[COUNT], lists[PHASE_DIFFERENCE]);

    for (int output = 0; output < OUTPUT_COUNT; ++output) {
        plhs[output] = mxCreateDoubleMatrix(rows, 1, mxREAL);
        std::copy_n(lists[output].data(), rows, mxGetPr(plhs[output]));
    }
}
