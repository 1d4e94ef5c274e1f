// J = nrx_warp_jacobian(Y1, Y2, Y3, M): Jacobian determinants of a
// deformation field, NaN on the border, one progress dot per interior plane;
// Ctrl-C stops it between planes.
#include "geometry/field_arguments.hpp"
#include "geometry/warp_jacobian.hpp"
#include "host/console.hpp"
#include "host/frame.hpp"
#include "host/interrupt.hpp"
#include "host/outputs.hpp"
#include "host/sizes.hpp"

namespace {

enum Input { FIELD_X, FIELD_Y, FIELD_Z, GRID_MATRIX, INPUT_COUNT };

// The grid matrix: 4x4, with a last row of exactly (0, 0, 0, 1) (NaN
// fails). Rows 0 to 2 are written to m in single precision.
void read_grid_matrix(const mxArray* array, float m[3][4])
{
    const double* M = nrx::host::read_affine_matrix(array);
    if (!(M[3] == 0.0 && M[7] == 0.0 && M[11] == 0.0 && M[15] == 1.0)) {
        nrx::host::refuse("No perspective projections allowed.");
    }
    nrx::single_precision_rows(M, m);
}

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    if (nrhs != INPUT_COUNT || nlhs > 1) {
        refuse("Inappropriate usage.");
    }
    const nrx::Grid3 grid = read_field(prhs + FIELD_X);
    float m[3][4];
    read_grid_matrix(prhs[GRID_MATRIX], m);

    plhs[0] = create_grid(grid, mxSINGLE_CLASS, Contents::unset);

    const float* const field[3] = {data_of<float>(prhs[FIELD_X]), data_of<float>(prhs[FIELD_Y]),
                                   data_of<float>(prhs[FIELD_Z])};
    if (!nrx::jacobian_determinants(field, grid, m, data_of<float>(plhs[0]), [] { print_now("."); }, keep_going)) {
        stop_for_interrupt();
    }
    print_now("\n");
}
