// nrx_warp_affine(Y1, Y2, Y3, M): applies the 4x4 homogeneous matrix M to
// every point of a deformation field, overwriting the three components.
#include <cstdint>

#include "geometry/field_arguments.hpp"
#include "geometry/warp_affine.hpp"
#include "host/frame.hpp"
#include "host/sizes.hpp"

namespace {

enum Input { FIELD_X, FIELD_Y, FIELD_Z, MATRIX, INPUT_COUNT };

}  // namespace

void nrx_gateway(int nlhs, mxArray* /*plhs*/[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    if (nrhs != INPUT_COUNT || nlhs != 0) {
        refuse("Inappropriate usage.");
    }
    const nrx::Grid3 grid = read_field(prhs + FIELD_X);
    const double* m = read_affine_matrix(prhs[MATRIX]);

    // The field is transformed where it lies: the caller's arrays change.
    nrx::apply_affine_to_field(data_of<float>(prhs[FIELD_X]), data_of<float>(prhs[FIELD_Y]),
                               data_of<float>(prhs[FIELD_Z]), static_cast<std::int32_t>(grid.count()), m);
}
