// Y = nrx_nan_reduce(X) or nrx_nan_reduce(X, DIM): the number of elements of
// X that are not NaN along dimension DIM (by default the first of size 2 or
// more), for every numeric class, with a warning for logical and char.
#include <cstdint>
#include <type_traits>
#include <vector>

#include "core/int32.hpp"
#include "host/frame.hpp"
#include "host/outputs.hpp"
#include "host/scalar.hpp"
#include "host/sizes.hpp"
#include "statistics/nan_reduce.hpp"

namespace {

enum Input { ARRAY, DIMENSION, MAX_INPUTS };

const char* const too_large = "Array too large: dimensions and element counts must fit in 32-bit integers!";

// Counts X's real plane into Y's and, for complex single and double X, its
// imaginary plane into Y's.
template <typename T>
void count_planes(const mxArray* x, mxArray* y, const std::vector<std::int32_t>& dims, std::int32_t d)
{
    using Count = nrx::nan_count_t<T>;
    const auto n = static_cast<std::int32_t>(dims.size());
    nrx::nan_reduce(static_cast<const T*>(mxGetData(x)), dims.data(), n, d, static_cast<Count*>(mxGetData(y)));
    if constexpr (std::is_floating_point_v<T>) {
        if (mxIsComplex(x)) {
            nrx::nan_reduce(static_cast<const T*>(mxGetImagData(x)), dims.data(), n, d,
                            static_cast<Count*>(mxGetImagData(y)));
        }
    }
}

// Logical and char elements are 1 or 2 bytes depending on the host: they are
// read at their own size, so every read stays inside the array. Their counts
// are the fibre lengths either way; the warning comes once per count.
void count_guessed_layout(const mxArray* x, mxArray* y, const std::vector<std::int32_t>& dims, std::int32_t d,
                          const char* warning)
{
    for (std::size_t e = 0; e < mxGetNumberOfElements(y); ++e) {
        mexWarnMsgTxt(warning);
    }
    if (mxGetElementSize(x) == sizeof(std::uint16_t)) {
        count_planes<std::uint16_t>(x, y, dims, d);
    } else {
        count_planes<std::uint8_t>(x, y, dims, d);
    }
}

}  // namespace

void nrx_gateway(int /*nlhs*/, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    if (nrhs < 1) {
        refuse("Too few input arguments!");
    }
    if (nrhs > MAX_INPUTS) {
        refuse("Too many input arguments!");
    }
    const mxArray* x = prhs[ARRAY];
    // A sparse array holds only its stored elements, not the dense planes
    // the counting walks.
    if (mxIsSparse(x)) {
        refuse("Sparse arrays are not supported!");
    }
    const std::vector<std::int32_t> dims = dims_as_int32(x, too_large);
    std::int32_t d = nrx::default_dimension(dims);
    if (nrhs > DIMENSION) {
        // NaN, out-of-range and unreadable values (empty, cell, ...) count as 0.
        const std::int32_t dim = nrx::trunc_to_int32(scalar_value(prhs[DIMENSION]).value_or(0.0)).value_or(0);
        if (dim <= 0) {
            refuse("Invalid value for dimension (argument 2)!");
        }
        d = dim - 1;
    }

    const mxClassID class_id = mxGetClassID(x);
    const mxClassID count_class = class_id == mxSINGLE_CLASS ? mxSINGLE_CLASS : mxDOUBLE_CLASS;
    plhs[0] = create_numeric_array(nrx::reduced_shape(dims, d), count_class, mxIsComplex(x) ? mxCOMPLEX : mxREAL,
                                   too_large);
    mxArray* y = plhs[0];

    switch (class_id) {
    case mxDOUBLE_CLASS: return count_planes<double>(x, y, dims, d);
    case mxSINGLE_CLASS: return count_planes<float>(x, y, dims, d);
    case mxINT8_CLASS: return count_planes<std::int8_t>(x, y, dims, d);
    case mxUINT8_CLASS: return count_planes<std::uint8_t>(x, y, dims, d);
    case mxINT16_CLASS: return count_planes<std::int16_t>(x, y, dims, d);
    case mxUINT16_CLASS: return count_planes<std::uint16_t>(x, y, dims, d);
    case mxINT32_CLASS: return count_planes<std::int32_t>(x, y, dims, d);
    case mxUINT32_CLASS: return count_planes<std::uint32_t>(x, y, dims, d);
    case mxINT64_CLASS: return count_planes<std::int64_t>(x, y, dims, d);
    case mxUINT64_CLASS: return count_planes<std::uint64_t>(x, y, dims, d);
    case mxLOGICAL_CLASS:
        return count_guessed_layout(x, y, dims, d, "The byte layout of logical arrays is not documented. Guessing.");
    case mxCHAR_CLASS:
        return count_guessed_layout(x, y, dims, d, "The byte layout of char arrays is not documented. Guessing.");
    default:
        // Raised at the first output element: an empty result has none.
        if (!mxIsEmpty(y)) {
            refuse("Unsupported type!");
        }
    }
}
