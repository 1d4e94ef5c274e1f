// idx = nrx_local_peaks(VOL, L): which columns of the list L of one-based
// voxel coordinates are local maxima of VOL in the 18-neighbourhood.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "host/argument_counts.hpp"
#include "host/checks.hpp"
#include "host/frame.hpp"
#include "host/sizes.hpp"
#include "segmentation/local_peaks.hpp"
#include "segmentation/local_peaks_list.hpp"

namespace {

enum Input { VOLUME, LIST };

// Faces and edges: a greater corner neighbour does not disqualify.
constexpr int connectivity = 18;

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;
    using namespace nrx::local_peaks;

    check_argument_counts(nrhs, 2, 2, nlhs, 1, 1);
    const mxArray* vol = prhs[VOLUME];
    const nrx::Grid3 volume = read_double_image(
        vol, with_plugin_name("VOL must be numeric, real, full and double"),
        with_plugin_name("VOL must 2- or 3-dimensional"),
        with_plugin_name("VOL too large: dimensions and element count must fit in 32-bit integers"));
    const bool map_2d = mxGetNumberOfDimensions(vol) == 2;

    const mxArray* list = prhs[LIST];
    if (!is_real_full_double(list)) {
        refuse(with_plugin_name("L must be numeric, real, full and double"));
    }
    const mwSize rows = mxGetM(list);
    if (rows != 3 && !(rows == 2 && map_2d)) {
        refuse(with_plugin_name("L must be 3xn (or 2xn) list of voxel coordinates"));
    }
    const std::int32_t n =
        count_as_int32(list, with_plugin_name("L too large: dimensions and element count must fit in 32-bit integers")) /
        static_cast<std::int32_t>(rows);
    const double* coords = data_of<double>(list);
    if (rows == 3 && map_2d && !all_in_first_plane(coords, n)) {
        refuse(with_plugin_name("z-coordinate must be 1 when using 3xn list with 2D map"));
    }
    std::vector<double> with_z;
    if (rows == 2) {
        with_z = with_unit_z(coords, n);
        coords = with_z.data();
    }

    std::vector<std::uint32_t> peaks;
    nrx::find_local_peaks(data_of<double>(vol), volume, coords, n, connectivity, peaks);
    plhs[0] = mxCreateDoubleMatrix(1, peaks.size(), mxREAL);
    std::copy(peaks.begin(), peaks.end(), data_of<double>(plhs[0]));
}
