#include "geometry/field_arguments.hpp"

#include "host/checks.hpp"
#include "host/frame.hpp"
#include "host/sizes.hpp"

namespace nrx::host {

namespace {

Grid3 read_field_component(const mxArray* array)
{
    if (!is_real_full_of_class(array, mxSINGLE_CLASS)) {
        refuse("Data must be a single precision floating point multi-dimensional array.");
    }
    if (mxGetNumberOfDimensions(array) > 3) {
        refuse("Too many dimensions in data.");
    }
    return grid_of(array, "Data too large: dimensions and element count must fit in 32-bit integers.");
}

}  // namespace

Grid3 read_field(const mxArray* const components[3])
{
    const Grid3 grid = read_field_component(components[0]);
    for (int c = 1; c < 3; ++c) {
        if (read_field_component(components[c]) != grid) {
            refuse("Incompatible dimensions.");
        }
    }
    return grid;
}

const double* read_affine_matrix(const mxArray* array)
{
    if (!is_plain_matrix(array, 4, 4)) {
        refuse("Affine transform matrix must be 4x4.");
    }
    return mxGetPr(array);
}

}  // namespace nrx::host
