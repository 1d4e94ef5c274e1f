// Ctrl-C during a long call.
//
// Long kernels ask between planes, on the calling thread, whether the user
// has pressed Ctrl-C; when so, the gateway stops the call through
// stop_for_interrupt() and the frame hands the interrupt to the host once the
// gateway's locals are gone: no output reaches the caller and the host
// returns to its prompt, as for its own functions. A plug-in that writes into
// its inputs asks only before it starts writing, never half-way.
#pragma once

#include <exception>

namespace nrx::host {

// A kernel hook: true while no interrupt is pending. Cheap; call it from the
// calling thread only.
bool keep_going();

// The gateway's way out of an interrupted call.
class Interrupted {};
[[noreturn]] inline void stop_for_interrupt() { throw Interrupted{}; }

// Whether an exception that reached the frame is the host's own interrupt,
// thrown through the gateway by a host call made while Ctrl-C was pending.
bool is_host_interrupt(const std::exception& error);

// Hands the pending interrupt to the host (called by the frame only).
[[noreturn]] void raise_interrupt();

}  // namespace nrx::host
