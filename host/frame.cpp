#include "host/frame.hpp"

#include <new>
#include <string>

#include "host/interrupt.hpp"

namespace nrx::host {

void refuse(const std::string& message) { throw Refusal(message); }

std::string plugin_name() { return mexFunctionName(); }

std::string with_plugin_name(const std::string& text) { return plugin_name() + ": " + text; }

}  // namespace nrx::host

namespace {

// Holds the message while the host error unwinds the call: the host may leave
// mexFunction without returning, so the text must not live on its stack.
std::string pending_message;

// Whether an exception is the host's report that it could not allocate an
// array or scratch memory: Octave throws it through the gateway as
// "<plug-in>: failed to allocate <n> bytes of memory".
bool is_host_allocation_failure(const std::exception& error)
{
    const std::string text = error.what();
    const std::string ending = " bytes of memory";
    return text.find(": failed to allocate ") != std::string::npos && text.size() > ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

}  // namespace

extern "C" {

__attribute__((visibility("default")))
void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    bool failed = true;
    bool interrupted = false;
    try {
        nrx_gateway(nlhs, plhs, nrhs, prhs);
        failed = false;
    } catch (const nrx::host::Interrupted&) {
        interrupted = true;
    } catch (const nrx::host::Refusal& refusal) {
        pending_message = refusal.what();
    } catch (const std::bad_alloc&) {
        pending_message = "Out of memory.";
    } catch (const std::exception& error) {
        interrupted = nrx::host::is_host_interrupt(error);
        pending_message = is_host_allocation_failure(error) ? "Out of memory."
                                                             : std::string("Internal error: ") + error.what();
    }
    if (interrupted) {
        nrx::host::raise_interrupt();
    }
    if (failed) {
        mexErrMsgTxt(pending_message.c_str());
    }
}

__attribute__((visibility("default")))
const char* mexVersion()
{
    return "MATLAB R14 native";
}

}  // extern "C"
