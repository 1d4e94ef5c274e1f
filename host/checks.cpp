#include "host/checks.hpp"

#include <algorithm>

namespace nrx::host {

bool is_real_full(const mxArray* array)
{
    return mxIsNumeric(array) && !mxIsComplex(array) && !mxIsSparse(array);
}

bool is_real_full_of_class(const mxArray* array, mxClassID class_id)
{
    return is_real_full(array) && mxGetClassID(array) == class_id;
}

bool is_real_full_double(const mxArray* array) { return is_real_full(array) && mxIsDouble(array); }

bool is_plain_matrix(const mxArray* array, std::size_t rows, std::size_t columns)
{
    return is_real_full_double(array) && mxGetM(array) == rows && mxGetN(array) == columns;
}

bool has_n_elements(const mxArray* array, std::size_t count) { return mxGetNumberOfElements(array) == count; }

bool is_2d_or_3d(const mxArray* array)
{
    const mwSize ndims = mxGetNumberOfDimensions(array);
    return ndims == 2 || ndims == 3;
}

bool same_dimension_count(const mxArray* a, const mxArray* b)
{
    return mxGetNumberOfDimensions(a) == mxGetNumberOfDimensions(b);
}

bool same_size(const mxArray* a, const mxArray* b)
{
    return same_dimension_count(a, b) &&
           std::equal(mxGetDimensions(a), mxGetDimensions(a) + mxGetNumberOfDimensions(a), mxGetDimensions(b));
}

bool is_text_row(const mxArray* array) { return mxIsChar(array) && mxGetM(array) == 1; }

}  // namespace nrx::host
