#include "host/argument_counts.hpp"

#include "host/frame.hpp"

namespace nrx::host {

void check_argument_counts(int nrhs, int min_inputs, int max_inputs, int nlhs, int min_outputs,
                           int max_outputs)
{
    if (nrhs < min_inputs) {
        refuse("Not enough input arguments.");
    }
    if (nrhs > max_inputs) {
        refuse("Too many input arguments.");
    }
    // Callers match these texts exactly; this one has no full stop.
    if (nlhs < min_outputs) {
        refuse("Not enough output arguments");
    }
    if (nlhs > max_outputs) {
        refuse("Too many output arguments.");
    }
}

}  // namespace nrx::host
