#include "phasemap/phase_map.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The wrap as a plain loop, one rounded step of 2 pi at a time.
double stepwise_wrap(double d)
{
    while (d > 3.14159265358979) d -= 6.28318530717958;
    while (d < -3.14159265358979) d += 6.28318530717958;
    return d;
}

TEST(Wrap, KeepsTheClosedIntervalAndStepsByTheDecimalTwoPi)
{
    const double pi_c = 3.14159265358979;
    EXPECT_TRUE(same_bits(nrx::wrap(pi_c), pi_c));
    EXPECT_TRUE(same_bits(nrx::wrap(-pi_c), -pi_c));
    EXPECT_TRUE(same_bits(nrx::wrap(-0.0), -0.0));
    EXPECT_TRUE(same_bits(nrx::wrap(3.2), 3.2 - 6.28318530717958));
    EXPECT_TRUE(same_bits(nrx::wrap(-3.2), -3.2 + 6.28318530717958));
    // The true pi lies above the decimal constant, so it is wrapped.
    EXPECT_TRUE(same_bits(nrx::wrap(M_PI), M_PI - 6.28318530717958));
    EXPECT_TRUE(same_bits(nrx::wrap(20.0), ((20.0 - 6.28318530717958) - 6.28318530717958) - 6.28318530717958));
}

TEST(Wrap, NanPassesThroughAndInfinityGivesNan)
{
    const double payload_nan = -std::nan("42");
    EXPECT_TRUE(same_bits(nrx::wrap(payload_nan), payload_nan));
    EXPECT_TRUE(std::isnan(nrx::wrap(std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(nrx::wrap(-std::numeric_limits<double>::infinity())));
}

TEST(Wrap, LargeValuesGiveWhatTheStepwiseLoopGives)
{
    std::mt19937 generator(11);
    std::uniform_real_distribution<double> exponent(9.0, 22.0);
    for (int n = 0; n < 300; ++n) {
        const double d = (n % 2 ? -1.0 : 1.0) * std::exp2(exponent(generator));
        ASSERT_TRUE(same_bits(nrx::wrap(d), stepwise_wrap(d))) << d;
    }
    // Binade edges, where steps change their rounding.
    for (int e = 10; e <= 22; ++e) {
        const double edge = std::ldexp(1.0, e);
        for (double d : {edge, std::nextafter(edge, 0.0), std::nextafter(edge, 2 * edge), edge + 6.28318530717958,
                         edge + 2 * 6.28318530717958, 2 * edge - std::ldexp(1.0, e - 52)}) {
            ASSERT_TRUE(same_bits(nrx::wrap(d), stepwise_wrap(d))) << d;
            ASSERT_TRUE(same_bits(nrx::wrap(-d), stepwise_wrap(-d))) << -d;
        }
    }
}

TEST(Wrap, EndsWhereTheStepwiseLoopWouldRunForever)
{
    // From 2^56 on, one step of 2 pi no longer changes a value: the loop
    // would never end, so these give NaN. 2^56 itself still steps down into
    // the binade below and wraps into the interval.
    const double limit = std::ldexp(1.0, 56);
    EXPECT_TRUE(std::isnan(nrx::wrap(std::nextafter(limit, 2 * limit))));
    EXPECT_TRUE(std::isnan(nrx::wrap(-1e300)));
    EXPECT_TRUE(std::isnan(nrx::wrap(std::numeric_limits<double>::max())));
    for (double d : {limit, std::ldexp(1.0, 54) + 4.0, 1e12}) {
        const double wrapped = nrx::wrap(d);
        EXPECT_TRUE(wrapped >= -3.14159265358979 && wrapped <= 3.14159265358979) << d;
        EXPECT_TRUE(same_bits(nrx::wrap(-d), -wrapped)) << d;
    }
}

}  // namespace
