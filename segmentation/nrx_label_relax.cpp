// nrx_label_relax(P, F, G[, w]) or Q = nrx_label_relax(P, F, G[, w]): one
// checkerboard sweep of the Markov-random-field update of the uint8 class
// probabilities P, in place without an output, into a new array with one.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "host/checks.hpp"
#include "host/frame.hpp"
#include "host/interrupt.hpp"
#include "host/outputs.hpp"
#include "host/sizes.hpp"
#include "segmentation/label_relax.hpp"
#include "segmentation/label_relax_forms.hpp"

namespace {

enum Input { PROBABILITIES, LIKELIHOODS, INTERACTION, AXIS_WEIGHTS };

using Dims4 = std::array<std::int32_t, 4>;

const char* const too_large = "Args too large: dimensions and element counts must fit in 32-bit integers.";

// The dimensions of an array of at most four, padded with 1 to four.
Dims4 padded_dims(const mxArray* array)
{
    Dims4 dims{1, 1, 1, 1};
    const std::vector<std::int32_t> given = nrx::host::dims_as_int32(array, too_large);
    std::copy(given.begin(), given.end(), dims.begin());
    return dims;
}

// Which of the five interaction forms G is, by its shape and then its class.
nrx::Interaction interaction_form(const mxArray* G, const Dims4& dm)
{
    const nrx::ElementClass element = mxIsSingle(G)  ? nrx::ElementClass::single
                                      : mxIsUint8(G) ? nrx::ElementClass::uint8
                                                     : nrx::ElementClass::other;
    const nrx::InteractionReading reading =
        nrx::read_interaction_form(nrx::host::dims_as_int32(G, too_large), dm, element);
    if (reading.refusal) {
        nrx::host::refuse(reading.refusal);
    }
    return reading.form;
}

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    if (nrhs < 3 || nrhs > 4 || nlhs > 1) {
        refuse("Incorrect usage");
    }
    const mxArray *P = prhs[PROBABILITIES], *F = prhs[LIKELIHOODS], *G = prhs[INTERACTION];
    if (!is_real_full_of_class(P, mxUINT8_CLASS)) {
        refuse("First arg must be numeric, real, full and uint8.");
    }
    if (!is_real_full_of_class(F, mxSINGLE_CLASS)) {
        refuse("Second arg must be numeric, real, full and single.");
    }
    if (!is_real_full(G)) {
        refuse("Third arg must be numeric, real and full.");
    }
    if (!same_dimension_count(P, F) || mxGetNumberOfDimensions(P) > 4) {
        refuse("First or second args have wrong number of dimensions.");
    }
    const Dims4 dm = padded_dims(P);
    if (dm[3] > nrx::max_classes) {
        refuse("Too many classes.");
    }
    if (padded_dims(F) != dm) {
        refuse("First and second args have incompatible dimensions.");
    }
    const nrx::Interaction code = interaction_form(G, dm);

    float w[3] = {1.0f, 1.0f, 1.0f};
    if (nrhs > AXIS_WEIGHTS) {
        const mxArray* W = prhs[AXIS_WEIGHTS];
        if (!is_real_full_of_class(W, mxSINGLE_CLASS)) {
            refuse("Fourth arg must be numeric, real, full and single.");
        }
        if (!has_n_elements(W, 3)) {
            refuse("Fourth arg must contain three elements.");
        }
        std::copy_n(data_of<float>(W), 3, w);
    }

    // Without an output the caller's own P is updated (and every copy of it
    // that still shares its data); with one, P stays as it was.
    auto* before = data_of<std::uint8_t>(P);
    auto* after = before;
    if (nlhs == 1) {
        plhs[0] = create_numeric_array({dm.begin(), dm.end()}, mxUINT8_CLASS, mxREAL, too_large, Contents::unset);
        after = data_of<std::uint8_t>(plhs[0]);
    }

    // Ctrl-C is heard before the sweep and, with an output, between planes;
    // in place a sweep that has begun runs to its end.
    if (!nrx::relax_labels({dm[0], dm[1], dm[2]}, dm[3], before, after, data_of<float>(F), mxGetData(G), w, code,
                           keep_going)) {
        stop_for_interrupt();
    }
}
