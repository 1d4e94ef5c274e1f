// R = nrx_gamma_sampler(a, b) or nrx_gamma_sampler(a, b, s1, s2, ...): b times
// Gamma(a, 1) random numbers, one or an s1 x s2 x ... array of them, from a
// generator that runs on from call to call.
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/int32.hpp"
#include "host/frame.hpp"
#include "host/outputs.hpp"
#include "host/scalar.hpp"
#include "statistics/gamma_sampler.hpp"

namespace {

enum Input { SHAPE, SCALE, FIRST_SIZE };

const char* const too_large = "Sizes too large: each size and their product must fit in 32-bit integers.";

// The generator state lives as long as the host keeps this module loaded:
// loading it anew starts the sequence again.
nrx::WichmannHill generator;

// A size, truncated toward zero. NaN and negative sizes count as 0, as the
// host's own array constructors count negative sizes.
std::int32_t read_size(const mxArray* argument)
{
    const std::optional<double> size = nrx::host::scalar_value(argument);
    if (!size) {
        nrx::host::refuse("Sizes must be non-empty numeric values.");
    }
    if (std::isnan(*size) || *size < 0.0) {
        return 0;
    }
    const std::optional<std::int32_t> whole = nrx::trunc_to_int32(*size);
    if (!whole) {
        nrx::host::refuse(too_large);
    }
    return *whole;
}

double read_parameter(const mxArray* argument)
{
    const std::optional<double> value = nrx::host::scalar_value(argument);
    if (!value) {
        nrx::host::refuse("Shape and scale must be non-empty numeric values.");
    }
    return *value;
}

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    if (nlhs > 1) {
        refuse("Too many output arguments.");
    }
    if (nrhs < 2) {
        refuse("Requires at least two input arguments.");
    }
    std::vector<std::int32_t> sizes(1, 1);
    if (nrhs > FIRST_SIZE) {
        sizes.clear();
        for (int k = FIRST_SIZE; k < nrhs; ++k) {
            sizes.push_back(read_size(prhs[k]));
        }
    }
    const double a = read_parameter(prhs[SHAPE]);
    const double b = read_parameter(prhs[SCALE]);

    // A single size m makes an m x 1 column.
    plhs[0] = create_numeric_array(sizes, mxDOUBLE_CLASS, mxREAL, too_large, Contents::unset);
    nrx::gamma_fill(generator, a, b, mxGetPr(plhs[0]), static_cast<std::int32_t>(mxGetNumberOfElements(plhs[0])));
}
