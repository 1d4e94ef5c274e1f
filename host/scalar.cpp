#include "host/scalar.hpp"

namespace nrx::host {

std::optional<double> scalar_value(const mxArray* array)
{
    const bool readable = mxIsNumeric(array) || mxIsLogical(array) || mxIsChar(array);
    if (!readable || mxIsEmpty(array)) {
        return std::nullopt;
    }
    return mxGetScalar(array);
}

}  // namespace nrx::host
