// Work split into planes (or any numbered pieces) run on every core, with
// progress and cancellation kept on the calling thread.
//
// Kernels whose planes are computed independently run them here: each plane
// is worked on by one OpenMP thread, so results do not depend on the thread
// count (set by OMP_NUM_THREADS; all cores by default). The caller's hook runs
// on the calling thread only, once per plane, in plane order, as soon as that
// plane and every plane before it are done, so a host that must be called
// from its own thread (progress output, interrupt checks) can be.
//
// Typical use:
//
//   const bool finished = nrx::for_each_plane(grid.nz,
//       [&](std::int64_t k) { compute_plane(k); },
//       [&](std::int64_t) { return keep_going(); });
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#ifdef _OPENMP
#include <omp.h>
#endif

namespace nrx {

// How a long kernel hears, between planes and on the calling thread, whether
// its caller wants it to go on (a host's Ctrl-C check); null: always go on.
using KeepGoing = bool (*)();

inline bool should_go_on(KeepGoing keep_going) { return keep_going == nullptr || keep_going(); }

// Runs work(k) for every k in [0, count), then, on the calling thread, done(k)
// for k = 0, 1, ... in order as each is complete. When done returns false no
// further plane is started (planes already started are finished) and done is
// not called again. Returns whether every plane ran and every done returned
// true.
template <typename Work, typename Done>
bool for_each_plane(std::int64_t count, Work&& work, Done&& done)
{
    if (count <= 0) {
        return true;
    }
    std::unique_ptr<std::atomic<bool>[]> finished(new std::atomic<bool>[static_cast<std::size_t>(count)]);
    for (std::int64_t k = 0; k < count; ++k) {
        finished[k].store(false, std::memory_order_relaxed);
    }
    std::atomic<bool> stop{false};
    std::int64_t reported = 0;  // touched by the calling thread only

    // Calls done for every plane complete in order so far; on the calling thread.
    auto report = [&] {
        while (!stop.load(std::memory_order_relaxed) && reported < count &&
               finished[reported].load(std::memory_order_acquire)) {
            if (!done(reported)) {
                stop.store(true, std::memory_order_relaxed);
            }
            ++reported;
        }
    };

#pragma omp parallel
    {
#ifdef _OPENMP
        const bool calling_thread = omp_get_thread_num() == 0;
#else
        const bool calling_thread = true;
#endif
#pragma omp for schedule(dynamic, 1) nowait
        for (std::int64_t k = 0; k < count; ++k) {
            if (!stop.load(std::memory_order_relaxed)) {
                work(k);
            }
            finished[k].store(true, std::memory_order_release);
            if (calling_thread) {
                report();
            }
        }
        if (calling_thread) {
            while (!stop.load(std::memory_order_relaxed) && reported < count) {
                report();
                std::this_thread::yield();
            }
        }
    }
    return !stop.load(std::memory_order_relaxed) && reported == count;
}

// Runs work(k) for every k in [0, count) on every core, each by one thread,
// for work that wants no hook between pieces.
template <typename Work>
void for_each_plane(std::int64_t count, Work&& work)
{
#pragma omp parallel for schedule(dynamic, 1)
    for (std::int64_t k = 0; k < count; ++k) {
        work(k);
    }
}

}  // namespace nrx
