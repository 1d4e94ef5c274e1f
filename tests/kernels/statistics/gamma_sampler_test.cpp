#include "statistics/gamma_sampler_detail.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

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

}  // namespace
