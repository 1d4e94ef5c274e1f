#include "statistics/gamma_sampler_detail.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace {

// Sample mean and variance of n draws of `draw`.
template <typename Draw>
std::pair<double, double> moments(int n, Draw draw)
{
    double sum = 0.0, squares = 0.0;
    for (int i = 0; i < n; ++i) {
        const double v = draw();
        sum += v;
        squares += v * v;
    }
    const double mean = sum / n;
    return {mean, squares / n - mean * mean};
}

TEST(Uniform, FirstDrawFromTheLoadState)
{
    nrx::WichmannHill state;
    const double u = nrx::detail::uniform(state);
    // 171 * 101 mod 30269, 172 * 1001 mod 30307, 170 * 10001 mod 30323.
    EXPECT_EQ(state.ix, 17271);
    EXPECT_EQ(state.iy, 20637);
    EXPECT_EQ(state.iz, 2082);
    // 17271/30269 + 20637/30307 + 2082/30323 = 1.3201763..., less its integer part.
    EXPECT_NEAR(u, 0.3201763, 1e-6);
    // Formed in single precision: the result is a float, and the float sum
    // differs from the double one.
    EXPECT_EQ(u, static_cast<double>(static_cast<float>(u)));
    EXPECT_NE(u, 17271.0 / 30269 + 20637.0 / 30307 + 2082.0 / 30323 - 1.0);
}

TEST(Uniform, StaysInUnitIntervalAndStateWordsInRange)
{
    nrx::WichmannHill state;
    for (int i = 0; i < 1000000; ++i) {
        const double u = nrx::detail::uniform(state);
        ASSERT_TRUE(u >= 0.0 && u < 1.0) << "draw " << i;
        ASSERT_TRUE(state.ix >= 1 && state.ix < 30269 && state.iy >= 1 && state.iy < 30307 && state.iz >= 1 &&
                    state.iz < 30323)
            << "draw " << i;
    }
}

TEST(Gamma, MeanAndVarianceEqualTheShape)
{
    nrx::WichmannHill state;
    for (double a : {0.5, 1.0, 2.0, 10.0}) {
        const auto [mean, variance] = moments(200000, [&] { return nrx::detail::gamma(state, a); });
        // The standard error of the mean is sqrt(a / 200000).
        EXPECT_NEAR(mean, a, 5 * std::sqrt(a / 200000)) << "shape " << a;
        EXPECT_NEAR(variance, a, 0.05 * a) << "shape " << a;
    }
}

TEST(Gamma, DegenerateShapesEndWithZeroNanOrInfinity)
{
    nrx::WichmannHill state;
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(nrx::detail::gamma(state, 0.0), 0.0);
        ASSERT_TRUE(std::isnan(nrx::detail::gamma(state, std::numeric_limits<double>::quiet_NaN())));
        ASSERT_TRUE(std::isnan(nrx::detail::gamma(state, -1.0)));
        ASSERT_TRUE(std::isnan(nrx::detail::gamma(state, -std::numeric_limits<double>::infinity())));
        ASSERT_EQ(nrx::detail::gamma(state, std::numeric_limits<double>::infinity()),
                  std::numeric_limits<double>::infinity());
        ASSERT_GE(nrx::detail::gamma(state, -0.5), 0.0);   // shape -0.5 + 1 still has d > 0
    }
}

TEST(GammaFill, DrawsNothingForNoElements)
{
    nrx::WichmannHill state;
    double r[1] = {-1.0};
    nrx::gamma_fill(state, 3.0, 1.0, r, 0);
    nrx::gamma_fill(state, 3.0, 1.0, r, -4);
    EXPECT_TRUE(state.ix == 101 && state.iy == 1001 && state.iz == 10001);
    EXPECT_EQ(r[0], -1.0);
}

// gamma_fill against the variates drawn one at a time, from one state carried
// through every call: each value bit for bit, and the state left.
void expect_fill_draws_one_at_a_time(nrx::WichmannHill& state, double a, double b, std::int32_t n)
{
    nrx::WichmannHill sequential = state;
    std::vector<double> expected(n), r(n);
    for (double& value : expected) {
        value = nrx::detail::gamma(sequential, a) * b;
    }
    nrx::gamma_fill(state, a, b, r.data(), n);
    EXPECT_EQ(std::memcmp(r.data(), expected.data(), n * sizeof(double)), 0) << "shape " << a << ", " << n << " values";
    EXPECT_TRUE(state.ix == sequential.ix && state.iy == sequential.iy && state.iz == sequential.iz)
        << "shape " << a << ", " << n << " values";
}

TEST(GammaFill, LongRunsEqualTheDrawsOneAtATime)
{
    nrx::WichmannHill state;
    expect_fill_draws_one_at_a_time(state, 2.0, 1.0, 10000000);
    expect_fill_draws_one_at_a_time(state, 0.5, 1.0, 10000000);
}

// Shapes whose candidates often have 1 + k x <= 0 (1, 0.01) or are often
// rejected, degenerate shapes, and lengths around a batch.
TEST(GammaFill, EveryShapeAndLengthEqualsTheDrawsOneAtATime)
{
    const double inf = std::numeric_limits<double>::infinity();
    nrx::WichmannHill state{7, 11, 13};
    for (double a : {1.0, 0.01, 10.0, 1.0 - 1e-16, 1e6, 1e-300, 0.0, -0.0, std::nan(""), inf, -inf, -0.5, -0.7}) {
        for (std::int32_t n : {1, 2, 7, 8, 9, 32, 33, 3000}) {
            expect_fill_draws_one_at_a_time(state, a, -1.5, n);
        }
        expect_fill_draws_one_at_a_time(state, a, 1.0, 100000);
    }
}

}  // namespace
