// The gateway frame every plug-in is built on.
//
// The frame owns the two entry points the host looks for: mexFunction, which
// runs the plug-in's gateway, and mexVersion. A gateway reports a failed check
// by calling refuse(); the frame catches the refusal after every local object
// of the gateway has been destroyed (scratch memory included) and only then
// raises the host error, so no C++ exception ever crosses into the host and a
// refused call leaves nothing behind.
//
// Typical gateway:
//
//   #include "host/checks.hpp"
//   #include "host/frame.hpp"
//   void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
//   {
//       if (nrhs != 2) nrx::host::refuse("Incorrect usage.");
//       ...                       // each input in argument order
//       plhs[0] = ...;            // outputs
//       nrx::some_kernel(...);    // plain buffers only
//   }
#pragma once

#include <stdexcept>
#include <string>

#include "mex.h"

namespace nrx::host {

// A failed argument check: its text is what the caller sees after the host's
// "<plug-in name>: " prefix.
class Refusal : public std::runtime_error {
public:
    explicit Refusal(const std::string& message) : std::runtime_error(message) {}
};

[[noreturn]] void refuse(const std::string& message);

// The name the host called the running plug-in by (its file name).
std::string plugin_name();

// "<plug-in name>: <text>": the form of the messages of the plug-ins that
// name themselves in their own messages.
std::string with_plugin_name(const std::string& text);

}  // namespace nrx::host

// Each plug-in defines this one function: its argument contract and kernel call.
void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);
