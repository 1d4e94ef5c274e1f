// Whether this process runs in the private IPC namespace that
// scripts/private_ipc.sh made for it: the one test of it for the tests and
// benchmarks that touch the acquisition segment (private_ipc_namespace.m in
// tests/octave/support is the same test for the host).
//
// The segment's key is fixed, so anywhere else they could overwrite a live
// acquisition. The script names the namespace it made in
// NRX_PRIVATE_IPC_NAMESPACE; a process is in it when /proc/self/ns/ipc names
// that one.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace nrx_test {

inline bool in_private_ipc_namespace()
{
    const char* made = std::getenv("NRX_PRIVATE_IPC_NAMESPACE");
    char own[64] = {};
    const ssize_t length = readlink("/proc/self/ns/ipc", own, sizeof own - 1);
    return made != nullptr && length > 0 && std::string(own, static_cast<std::size_t>(length)) == made;
}

}  // namespace nrx_test
