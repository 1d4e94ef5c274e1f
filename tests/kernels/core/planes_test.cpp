// Planes run once each on any number of threads, progress comes in plane
// order on the calling thread, and a stop ends the work early.
#include "core/planes.hpp"

#include <gtest/gtest.h>
#include <omp.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

TEST(ForEachPlane, EveryPlaneOnceAndProgressInOrderOnTheCallingThread)
{
    omp_set_num_threads(3);
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<int> runs(101, 0);
    std::vector<std::int64_t> reported;
    bool all_on_caller = true;
    const bool finished = nrx::for_each_plane(
        101, [&](std::int64_t k) { ++runs[k]; },
        [&](std::int64_t k) {
            all_on_caller = all_on_caller && std::this_thread::get_id() == caller;
            reported.push_back(k);
            return true;
        });
    EXPECT_TRUE(finished);
    EXPECT_EQ(runs, std::vector<int>(101, 1));
    ASSERT_EQ(reported.size(), 101u);
    for (std::int64_t k = 0; k < 101; ++k) EXPECT_EQ(reported[k], k);
    EXPECT_TRUE(all_on_caller);
}

TEST(ForEachPlane, StopsStartingPlanesOnceTheHookSaysSo)
{
    omp_set_num_threads(2);
    std::atomic<int> runs{0};
    int calls = 0;
    const auto plane = [&](std::int64_t) {
        ++runs;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    };
    const bool finished = nrx::for_each_plane(10000, plane, [&](std::int64_t k) { ++calls; return k < 4; });
    EXPECT_FALSE(finished);
    EXPECT_EQ(calls, 5);
    EXPECT_LT(runs.load(), 10000);
    EXPECT_TRUE(nrx::for_each_plane(0, [](std::int64_t) {}, [](std::int64_t) { return false; }));
}

}  // namespace
