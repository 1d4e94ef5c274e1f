// A fixture for tests that create and write the acquisition segment.
//
// The segment's key is fixed, so a test in the machine's own IPC namespace
// could overwrite a live acquisition. Each test of this fixture first moves
// its process into a new, empty IPC namespace (the old one, with whatever the
// previous test left in it, goes away with the move), and is skipped, never
// run, when no such namespace can be made.
#pragma once

#include <sched.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace nrx_test {

inline std::string ipc_namespace()
{
    char name[64] = {};
    const ssize_t length = readlink("/proc/self/ns/ipc", name, sizeof name - 1);
    return length > 0 ? std::string(name, static_cast<std::size_t>(length)) : std::string();
}

// Empty once this process is in a new IPC namespace, otherwise why not.
inline std::string enter_private_ipc_namespace()
{
    const std::string before = ipc_namespace();
    if (before.empty()) {
        return "no IPC namespaces here";
    }
    // Root may make one directly; others through a user namespace of their own.
    if (unshare(CLONE_NEWIPC) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWIPC) != 0) {
        return std::string("cannot make a private IPC namespace: ") + std::strerror(errno);
    }
    if (ipc_namespace() == before) {
        return "the IPC namespace did not change";
    }
    return {};
}

class PrivateSegmentTest : public testing::Test {
protected:
    void SetUp() override
    {
        const std::string why = enter_private_ipc_namespace();
        if (!why.empty()) {
            GTEST_SKIP() << why << "; tests that touch the acquisition segment run only in a private IPC namespace";
        }
    }
};

}  // namespace nrx_test
