#include "host/interrupt.hpp"

#include "mex.h"

#ifdef MATLAB_MEX_FILE
// MATLAB's interrupt flag, as MEX files have long polled it.
extern "C" bool utIsInterruptPending();
#else
#include <octave/quit.h>
#endif

namespace nrx::host {

bool keep_going()
{
#ifdef MATLAB_MEX_FILE
    return !utIsInterruptPending();
#else
    // The signal handler only notes the signal; the interpreter turns it into
    // a pending interrupt when it next looks.
    return octave_signal_caught == 0 && octave_interrupt_state <= 0;
#endif
}

bool is_host_interrupt(const std::exception& error)
{
#ifdef MATLAB_MEX_FILE
    (void)error;
    return false;
#else
    return dynamic_cast<const octave::interrupt_exception*>(&error) != nullptr;
#endif
}

void raise_interrupt()
{
#ifdef MATLAB_MEX_FILE
    mexErrMsgIdAndTxt("MATLAB:interrupt", "Interrupted.");
#else
    // Turns the noted signal into the interpreter's interrupt and throws it.
    octave_quit();
    throw octave::interrupt_exception();
#endif
}

}  // namespace nrx::host
