#include "host/scalar.hpp"

#include <limits>

namespace nrx::host {

std::optional<double> scalar_value(const mxArray* array)
{
    const bool readable = mxIsNumeric(array) || mxIsLogical(array) || mxIsChar(array);
    if (!readable || mxIsEmpty(array)) {
        return std::nullopt;
    }
    return mxGetScalar(array);
}

double scalar_or_nan(const mxArray* array)
{
    return scalar_value(array).value_or(std::numeric_limits<double>::quiet_NaN());
}

}  // namespace nrx::host
