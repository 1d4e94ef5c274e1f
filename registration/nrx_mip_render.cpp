// MIP = nrx_mip_render(VALUES, LOCATIONS, DIMS[, DXYZ, CXYZ]): draws located
// values into a new three-view maximum-intensity projection image.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "host/checks.hpp"
#include "host/frame.hpp"
#include "host/sizes.hpp"
#include "registration/mip_render.hpp"

namespace {

enum Input { VALUES, LOCATIONS, DIMENSIONS, VIEW_EXTENTS, VIEW_ORIGINS, INPUT_COUNT };

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    if ((nrhs != 3 && nrhs != INPUT_COUNT) || nlhs > 1) {
        refuse("Incorrect usage.");
    }
    for (int k = 0; k < nrhs; ++k) {
        if (!is_real_full_double(prhs[k])) {
            refuse("Arguments must be numeric, real, full and double.");
        }
    }
    const std::int32_t n =
        count_as_int32(prhs[VALUES], "Too many points: their number must fit in a 32-bit integer.");
    if (!is_plain_matrix(prhs[LOCATIONS], 3, static_cast<std::size_t>(n))) {
        refuse("Incompatible size for locations matrix.");
    }
    if (!has_n_elements(prhs[DIMENSIONS], 5)) {
        refuse("Incompatible size for dimensions vector.");
    }
    const double* dims = mxGetPr(prhs[DIMENSIONS]);
    const double* dxyz = nullptr;
    const double* cxyz = nullptr;
    if (nrhs == INPUT_COUNT) {
        if (!has_n_elements(prhs[VIEW_EXTENTS], 3)) {
            refuse("Incompatible size for DXYZ vector.");
        }
        if (!has_n_elements(prhs[VIEW_ORIGINS], 3)) {
            refuse("Incompatible size for CXYZ vector.");
        }
        dxyz = mxGetPr(prhs[VIEW_EXTENTS]);
        cxyz = mxGetPr(prhs[VIEW_ORIGINS]);
    }

    // A size that is negative, not a number or beyond 32 bits makes no
    // matrix, let alone one that fits a layout.
    const std::optional<nrx::MipSize> size = nrx::mip_matrix_size(dims);
    if (!size) {
        refuse("Wrong sized MIP matrix");
    }
    plhs[0] = mxCreateUninitNumericMatrix(size->rows, size->columns, mxDOUBLE_CLASS, mxREAL);  // cleared by the kernel

    // A size that fits neither layout draws nothing and is refused.
    const nrx::MipPoints points{mxGetPr(prhs[VALUES]), mxGetPr(prhs[LOCATIONS]), n};
    if (nrx::render_mip(points, dims, dxyz, cxyz, *size, mxGetPr(plhs[0])) == nrx::MipLayout::none) {
        refuse("Wrong sized MIP matrix");
    }
}
