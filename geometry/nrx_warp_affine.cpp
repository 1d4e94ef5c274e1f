// nrx_warp_affine(Y1, Y2, Y3, M): applies the 4x4 homogeneous matrix M to
// every point of a deformation field, overwriting the three components.
#include "geometry/affine_field.hpp"
#include "host/deformation_field.hpp"
#include "host/frame.hpp"

namespace {

enum Input { FIELD_X, FIELD_Y, FIELD_Z, MATRIX, INPUT_COUNT };

}  // namespace

void nrx_gateway(int nlhs, mxArray* /*plhs*/[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    if (nrhs != INPUT_COUNT || nlhs != 0) {
        refuse("Inappropriate usage.");
    }
    const Volume x = get_volume(prhs[FIELD_X]);
    const Volume y = get_matching_volume(prhs[FIELD_Y], x);
    const Volume z = get_matching_volume(prhs[FIELD_Z], x);
    const double* m = get_affine_matrix(prhs[MATRIX]);

    // The field is transformed where it lies: the caller's arrays change.
    nrx::transform_field(static_cast<float*>(x.data), static_cast<float*>(y.data), static_cast<float*>(z.data),
                         x.count(), m);
}
