// H = nrx_joint_histogram(V1, V2, M[, S]): 256 x 256 joint histogram of two
// uint8 volumes, V2 seen through the voxel-to-voxel map M, sampled on a
// jittered grid of V1 with skips S (default 1, 1, 1).
#include <array>
#include <cstdint>
#include <string>

#include "host/checks.hpp"
#include "host/frame.hpp"
#include "host/sizes.hpp"
#include "registration/joint_histogram.hpp"

namespace {

enum Input { GRID_VOLUME, SAMPLED_VOLUME, MAP, SKIPS, INPUT_COUNT };

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

// The 4x4 voxel-to-voxel map, its 16 elements column-major.
const double* read_map(const mxArray* array)
{
    using namespace nrx::host;
    if (!is_real_full_double(array)) {
        refuse("Wrong sort of matrix.");
    }
    if (!is_plain_matrix(array, 4, 4)) {
        refuse("Matrix must be 4x4.");
    }
    return mxGetPr(array);
}

// The skips: three doubles used in single precision, (1, 1, 1) when `array`
// is null. Positive, and such that the grid walk over `grid` ends: a loop
// whose coordinate would stop growing never ends, and the unit default stalls
// too on an axis longer than 2^24 + 1 voxels.
std::array<float, 3> read_skips(const mxArray* array, const nrx::Grid3& grid)
{
    using namespace nrx::host;
    std::array<float, 3> s = {1.0f, 1.0f, 1.0f};
    if (array != nullptr) {
        if (!is_real_full_double(array) || !has_n_elements(array, 3)) {
            refuse("Invalid skips.");
        }
        for (int k = 0; k < 3; ++k) {
            s[k] = static_cast<float>(mxGetPr(array)[k]);
        }
    }
    if (!(s[0] > 0.0f && s[1] > 0.0f && s[2] > 0.0f) || !nrx::grid_walk_ends(grid, s.data())) {
        refuse("Invalid skips.");
    }
    return s;
}

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    // S is the one optional input.
    if (nrhs < SKIPS || nrhs > INPUT_COUNT || nlhs > 1) {
        refuse("Incorrect usage.");
    }
    const nrx::Grid3 grid1 = read_uint8_volume(prhs[GRID_VOLUME], "1");
    const nrx::Grid3 grid2 = read_uint8_volume(prhs[SAMPLED_VOLUME], "2");
    const double* map = read_map(prhs[MAP]);
    const std::array<float, 3> skips = read_skips(nrhs > SKIPS ? prhs[SKIPS] : nullptr, grid1);

    plhs[0] = mxCreateUninitNumericMatrix(256, 256, mxDOUBLE_CLASS, mxREAL);  // cleared by the kernel

    nrx::joint_histogram(map, data_of<std::uint8_t>(prhs[GRID_VOLUME]), grid1,
                         data_of<std::uint8_t>(prhs[SAMPLED_VOLUME]), grid2, skips.data(), mxGetPr(plhs[0]));
}
