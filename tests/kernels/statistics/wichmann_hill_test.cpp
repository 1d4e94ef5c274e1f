#include "statistics/wichmann_hill.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

using nrx::WichmannHill;
using nrx::detail::UniformStream;
using nrx::Vectors;

bool same_state(const WichmannHill& a, const WichmannHill& b)
{
    return a.ix == b.ix && a.iy == b.iy && a.iz == b.iz;
}

TEST(MakeUniforms, EveryInstructionSetGivesTheDrawsOneAtATime)
{
    const std::int32_t from = 3, to = UniformStream::capacity - 5;
    for (const WichmannHill& base : {WichmannHill{}, WichmannHill{30268, 30306, 30322}, WichmannHill{1, 1, 1},
                                     WichmannHill{12345, 2, 30000}}) {
        WichmannHill state = base;
        std::vector<double> expected(UniformStream::capacity, NAN);
        for (std::int32_t k = 0; k < to; ++k) {
            const double u = nrx::detail::uniform(state);
            expected[k] = k >= from ? u : NAN;
        }
        for (Vectors vectors : {Vectors::baseline, Vectors::avx2, Vectors::avx512}) {
            if (!nrx::runs(vectors)) {
                continue;
            }
            std::vector<double> window(UniformStream::capacity, NAN);
            nrx::detail::make_uniforms(base, from, to, window.data(), vectors);
            for (std::int32_t k = 0; k < UniformStream::capacity; ++k) {
                ASSERT_TRUE(window[k] == expected[k] || (std::isnan(window[k]) && std::isnan(expected[k])))
                    << "instruction set " << static_cast<int>(vectors) << ", element " << k;
            }
        }
    }
}

// Reads of every kind (one at a time, runs made ahead and skipped over, the
// window moving) over more than 10^7 uniforms give the sequential draws, and
// the state after each read is the sequential one.
TEST(UniformStream, ReadsAndStatesFollowTheDrawsOneAtATime)
{
    WichmannHill sequential{2, 3, 5};
    UniformStream stream(sequential);
    EXPECT_TRUE(same_state(stream.state(), sequential));
    std::mt19937 choice(7);
    for (std::int64_t read = 0; read < 12000000;) {
        if (choice() % 3 == 0) {
            stream.make_ahead(static_cast<std::int32_t>(choice() % (UniformStream::capacity + 100)));
            const std::int32_t from = stream.cursor();
            const std::int32_t to = from + static_cast<std::int32_t>(choice() % (stream.filled() - from + 1));
            for (std::int32_t k = from; k < to; ++k) {
                ASSERT_EQ(stream.window()[k], nrx::detail::uniform(sequential)) << "read " << read + k - from;
            }
            stream.skip_to(to);
            read += to - from;
        } else {
            for (std::uint32_t k = choice() % 100; k > 0; --k, ++read) {
                ASSERT_EQ(stream.next(), nrx::detail::uniform(sequential)) << "read " << read;
            }
        }
        ASSERT_TRUE(same_state(stream.state(), sequential)) << "after read " << read;
    }
}

}  // namespace
