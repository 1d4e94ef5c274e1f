#include "host/console.hpp"

#include <cstdio>

#include "mex.h"

namespace nrx::host {

void print_now(const char* text)
{
    mexPrintf("%s", text);
    std::fflush(stdout);
#ifdef MATLAB_MEX_FILE
    mexEvalString("drawnow;");
#else
    // fflush(1) called as a function, not evaluated as text: evaluating would
    // throw a pending Ctrl-C through the plug-in in the middle of its work
    // (it is left to act when the call returns, as before), and would read a
    // caller's variable named stdout.
    mxArray* standard_output = mxCreateDoubleScalar(1);
    mexCallMATLAB(0, nullptr, 1, &standard_output, "fflush");
    mxDestroyArray(standard_output);
#endif
}

}  // namespace nrx::host
