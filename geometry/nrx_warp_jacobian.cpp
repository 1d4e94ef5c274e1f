// J = nrx_warp_jacobian(Y1, Y2, Y3, M): Jacobian determinants of a
// deformation field, NaN on the border, one progress dot per interior plane.
#include <cstdio>

#include "geometry/jacobian.hpp"
#include "host/deformation_field.hpp"
#include "host/frame.hpp"

namespace {

enum Input { FIELD_X, FIELD_Y, FIELD_Z, GRID_MATRIX, INPUT_COUNT };

void print_progress_dot()
{
    mexPrintf(".");
    std::fflush(stdout);
}

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    if (nrhs != INPUT_COUNT || nlhs > 1) {
        refuse("Inappropriate usage.");
    }
    const Volume x = get_volume(prhs[FIELD_X]);
    const Volume y = get_matching_volume(prhs[FIELD_Y], x);
    const Volume z = get_matching_volume(prhs[FIELD_Z], x);
    const double* M = get_affine_matrix(prhs[GRID_MATRIX]);

    float m[3][4];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            m[r][c] = static_cast<float>(M[r + 4 * c]);
        }
    }
    if (!(M[3] == 0.0 && M[7] == 0.0 && M[11] == 0.0 && M[15] == 1.0)) {
        refuse("No perspective projections allowed.");
    }

    plhs[0] = create_volume(x, mxSINGLE_CLASS);

    const float* const field[3] = {static_cast<const float*>(x.data), static_cast<const float*>(y.data),
                                   static_cast<const float*>(z.data)};
    nrx::jacobian_determinants(field, x.dim, m, static_cast<float*>(mxGetData(plhs[0])), print_progress_dot);
    mexPrintf("\n");
}
