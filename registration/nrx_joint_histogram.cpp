// H = nrx_joint_histogram(V1, V2, M[, S]): 256 x 256 joint histogram of two
// uint8 volumes, V2 seen through the voxel-to-voxel map M, sampled on a
// jittered grid of V1 with skips S (default 1, 1, 1).
#include <cstdint>
#include <string>

#include "host/checks.hpp"
#include "host/frame.hpp"
#include "host/sizes.hpp"
#include "registration/joint_histogram.hpp"

namespace {

enum Input { GRID_VOLUME, SAMPLED_VOLUME, MAP, SKIPS };

// A uint8 volume with exactly three dimensions; `number` (1 or 2) names the
// argument in the messages.
nrx::Grid3 read_uint8_volume(const mxArray* array, const std::string& number)
{
    using namespace nrx::host;
    if (!is_real_full_of_class(array, mxUINT8_CLASS)) {
        refuse("Wrong sort of data (" + number + ").");
    }
    if (mxGetNumberOfDimensions(array) != 3) {
        refuse("Wrong number of dims (" + number + ").");
    }
    return grid_of(array,
                   "Volume too large (" + number + "): dimensions and element count must fit in 32-bit integers.");
}

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    if (nrhs < 3 || nrhs > 4 || nlhs > 1) {
        refuse("Incorrect usage.");
    }
    const nrx::Grid3 v1 = read_uint8_volume(prhs[GRID_VOLUME], "1");
    const nrx::Grid3 v2 = read_uint8_volume(prhs[SAMPLED_VOLUME], "2");

    const mxArray* map = prhs[MAP];
    if (!is_real_full_double(map)) {
        refuse("Wrong sort of matrix.");
    }
    if (!is_plain_matrix(map, 4, 4)) {
        refuse("Matrix must be 4x4.");
    }

    float s[3] = {1.0f, 1.0f, 1.0f};
    if (nrhs > SKIPS) {
        const mxArray* skips = prhs[SKIPS];
        if (!is_real_full_double(skips) || !has_n_elements(skips, 3)) {
            refuse("Invalid skips.");
        }
        for (int k = 0; k < 3; ++k) {
            s[k] = static_cast<float>(mxGetPr(skips)[k]);
        }
    }
    // A grid loop whose coordinate would stop growing never ends; the unit
    // default stalls too on an axis longer than 2^24 + 1 voxels.
    const std::int32_t d1[3] = {v1.nx, v1.ny, v1.nz};
    const std::int32_t d2[3] = {v2.nx, v2.ny, v2.nz};
    if (!(s[0] > 0.0f && s[1] > 0.0f && s[2] > 0.0f) || !nrx::grid_walk_ends(d1, s)) {
        refuse("Invalid skips.");
    }

    plhs[0] = mxCreateDoubleMatrix(256, 256, mxREAL);

    nrx::hist2(mxGetPr(map), data_of<std::uint8_t>(prhs[GRID_VOLUME]), data_of<std::uint8_t>(prhs[SAMPLED_VOLUME]),
               d1, d2, mxGetPr(plhs[0]), s);
}
