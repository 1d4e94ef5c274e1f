// H = nrx_joint_histogram(V1, V2, M[, S]): 256 x 256 joint histogram of two
// uint8 volumes, V2 seen through the voxel-to-voxel map M, sampled on a
// jittered grid of V1 with skips S (default 1, 1, 1).
#include <cstdint>
#include <string>

#include "host/arrays.hpp"
#include "host/frame.hpp"
#include "registration/joint_histogram.hpp"

namespace {

enum Input { GRID_VOLUME, SAMPLED_VOLUME, MAP, SKIPS };

// A uint8 volume with exactly three dimensions; `number` (1 or 2) names the
// argument in the messages.
nrx::host::Volume get_uint8_volume(const mxArray* array, const std::string& number)
{
    using nrx::host::refuse;
    if (!mxIsNumeric(array) || !mxIsUint8(array) || mxIsComplex(array) || mxIsSparse(array)) {
        refuse("Wrong sort of data (" + number + ").");
    }
    if (mxGetNumberOfDimensions(array) != 3) {
        refuse("Wrong number of dims (" + number + ").");
    }
    return nrx::host::read_volume(
        array, "Volume too large (" + number + "): dimensions and element count must fit in 32-bit integers.");
}

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    if (nrhs < 3 || nrhs > 4 || nlhs > 1) {
        refuse("Incorrect usage.");
    }
    const Volume v1 = get_uint8_volume(prhs[GRID_VOLUME], "1");
    const Volume v2 = get_uint8_volume(prhs[SAMPLED_VOLUME], "2");

    const mxArray* map = prhs[MAP];
    if (!mxIsNumeric(map) || !mxIsDouble(map) || mxIsComplex(map) || mxIsSparse(map)) {
        refuse("Wrong sort of matrix.");
    }
    if (mxGetM(map) != 4 || mxGetN(map) != 4) {
        refuse("Matrix must be 4x4.");
    }

    float s[3] = {1.0f, 1.0f, 1.0f};
    if (nrhs > SKIPS) {
        const mxArray* skips = prhs[SKIPS];
        if (!mxIsNumeric(skips) || !mxIsDouble(skips) || mxIsComplex(skips) || mxIsSparse(skips) ||
            mxGetM(skips) * mxGetN(skips) != 3) {
            refuse("Invalid skips.");
        }
        for (int k = 0; k < 3; ++k) {
            s[k] = static_cast<float>(mxGetPr(skips)[k]);
        }
    }
    // A grid loop whose coordinate would stop growing never ends; the unit
    // default stalls too on an axis longer than 2^24 + 1 voxels.
    if (!(s[0] > 0.0f && s[1] > 0.0f && s[2] > 0.0f) || !nrx::grid_walk_ends(v1.dim, s)) {
        refuse("Invalid skips.");
    }

    plhs[0] = mxCreateDoubleMatrix(256, 256, mxREAL);

    nrx::hist2(mxGetPr(map), static_cast<const std::uint8_t*>(v1.data), static_cast<const std::uint8_t*>(v2.data),
               v1.dim, v2.dim, mxGetPr(plhs[0]), s);
}
