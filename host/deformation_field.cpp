#include "host/deformation_field.hpp"

#include "host/frame.hpp"

namespace nrx::host {

Volume get_volume(const mxArray* array)
{
    if (mxIsStruct(array) || !mxIsNumeric(array) || mxIsComplex(array) || mxIsSparse(array) ||
        !mxIsSingle(array)) {
        refuse("Data must be a single precision floating point multi-dimensional array.");
    }
    if (mxGetNumberOfDimensions(array) > 3) {
        refuse("Too many dimensions in data.");
    }
    return read_volume(array, "Data too large: dimensions and element count must fit in 32-bit integers.");
}

Volume get_matching_volume(const mxArray* array, const Volume& first)
{
    const Volume volume = get_volume(array);
    if (!volume.same_dims(first)) {
        refuse("Incompatible dimensions.");
    }
    return volume;
}

const double* get_affine_matrix(const mxArray* array)
{
    if (!is_real_full_double(array) || mxGetM(array) != 4 || mxGetN(array) != 4) {
        refuse("Affine transform matrix must be 4x4.");
    }
    return mxGetPr(array);
}

}  // namespace nrx::host
