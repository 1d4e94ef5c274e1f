// Text for the user's console while a call is still running.
#pragma once

namespace nrx::host {

// Prints `text` through the host's print call and flushes it at once: the C
// runtime's standard output, and the host's own output stream, which may
// otherwise hold what a plug-in prints until the call ends. For progress
// that the user should see as it is made.
void print_now(const char* text);

}  // namespace nrx::host
