// The host's own wording for a call with too few or too many arguments.
#pragma once

namespace nrx::host {

// Refuses a call whose input count lies outside [min_inputs, max_inputs] or
// whose output count lies outside [min_outputs, max_outputs], testing too few
// inputs, too many inputs, too few outputs, too many outputs, in that order:
// "Not enough input arguments.", "Too many input arguments.",
// "Not enough output arguments", "Too many output arguments.".
void check_argument_counts(int nrhs, int min_inputs, int max_inputs, int nlhs, int min_outputs,
                           int max_outputs);

}  // namespace nrx::host
