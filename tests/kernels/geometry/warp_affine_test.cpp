#include "geometry/warp_affine.hpp"

#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

// Bit pattern comparison, so that -0 against +0 and NaN payloads count.
bool same_bits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

TEST(WarpAffine, MatchesDoubleNumeratorsOverSingleRoundedDenominator)
{
    std::mt19937 generator(7);
    std::uniform_real_distribution<double> element(-3.0, 3.0);
    std::uniform_real_distribution<float> coordinate(-200.0f, 200.0f);
    double m[16];
    for (double& v : m) v = element(generator);
    m[15] = 50.0;  // keeps the denominators away from 0
    std::vector<float> x(1000), y(1000), z(1000);
    for (std::size_t e = 0; e < x.size(); ++e) {
        x[e] = coordinate(generator);
        y[e] = coordinate(generator);
        z[e] = coordinate(generator);
    }
    const std::vector<float> x0 = x, y0 = y, z0 = z;
    nrx::apply_affine_to_field(x.data(), y.data(), z.data(), 1000, m);
    for (std::size_t e = 0; e < x.size(); ++e) {
        const double p[3] = {x0[e], y0[e], z0[e]};
        const double w = static_cast<double>(static_cast<float>(p[0] * m[3] + p[1] * m[7] + p[2] * m[11] + m[15]));
        const float* out[3] = {&x[e], &y[e], &z[e]};
        for (int r = 0; r < 3; ++r) {
            const float expected = static_cast<float>((p[0] * m[r] + p[1] * m[r + 4] + p[2] * m[r + 8] + m[r + 12]) / w);
            ASSERT_TRUE(same_bits(*out[r], expected)) << "element " << e << " row " << r;
        }
    }
}

TEST(WarpAffine, IdentityKeepsValuesTurnsNegativeZeroPositiveAndInfinityToNan)
{
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> x = {1.5f, -0.0f, inf, 3e38f};
    std::vector<float> y = {-2.25f, 4.0f, 1.0f, -1e-30f};
    std::vector<float> z = {1e-3f, 0.5f, 2.0f, 7.0f};
    const std::vector<float> x0 = x, y0 = y;
    nrx::apply_affine_to_field(x.data(), y.data(), z.data(), 4, identity);
    EXPECT_TRUE(same_bits(x[0], x0[0]) && same_bits(y[0], y0[0]));
    EXPECT_TRUE(same_bits(x[1], 0.0f));
    EXPECT_TRUE(std::isnan(x[2]) && std::isnan(y[2]) && std::isnan(z[2]));
    EXPECT_TRUE(same_bits(x[3], x0[3]) && same_bits(y[3], y0[3]));
}

TEST(WarpAffine, FourthRowDividesAndTranslationAddsInSinglePrecision)
{
    double halve[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2};
    double shift[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1};
    std::vector<float> x = {3.0f, 0.1f}, y = {-5.0f, 0.2f}, z = {1.0f, 0.3f};
    nrx::apply_affine_to_field(x.data(), y.data(), z.data(), 2, halve);
    EXPECT_EQ(x[0], 1.5f);
    EXPECT_EQ(y[0], -2.5f);
    EXPECT_EQ(z[0], 0.5f);
    nrx::apply_affine_to_field(x.data(), y.data(), z.data(), 2, shift);
    EXPECT_EQ(x[1], static_cast<float>(static_cast<double>(0.05f) + 10.0));
    EXPECT_EQ(y[1], 0.1f);
}

TEST(WarpAffine, SharedBufferReadsOldValuesAndKeepsTheLaterStore)
{
    // x and y share one buffer: the second row's quotient is what remains.
    const double m[16] = {2, 0, 0, 0, 0, 3, 0, 0, 1, 1, 1, 0, 0, 0, 0, 1};
    std::vector<float> xy = {1.0f, 2.0f};
    std::vector<float> z = {10.0f, 20.0f};
    nrx::apply_affine_to_field(xy.data(), xy.data(), z.data(), 2, m);
    // Old point (1, 1, 10): rows give 2 + 10, 3 + 10, 10.
    EXPECT_EQ(xy[0], 13.0f);
    EXPECT_EQ(z[0], 10.0f);
    EXPECT_EQ(xy[1], 26.0f);
}

TEST(WarpAffine, OneAndThreeThreadsGiveTheSameBitsWithSharedBuffers)
{
    std::mt19937 generator(11);
    std::uniform_real_distribution<float> coordinate(-200.0f, 200.0f);
    const double m[16] = {1.1, 0.2, -0.3, 1e-3, 0.4, 0.9, 0.1, 2e-3, -0.2, 0.3, 1.2, 0, 5, -6, 7, 1};
    std::vector<float> start(2 * 1001);
    for (float& v : start) v = coordinate(generator);
    std::vector<float> xy[2] = {start, start};
    for (int t : {0, 1}) {
        omp_set_num_threads(1 + 2 * t);
        nrx::apply_affine_to_field(xy[t].data(), xy[t].data(), xy[t].data() + 1001, 1001, m);
    }
    for (std::size_t e = 0; e < start.size(); ++e) ASSERT_TRUE(same_bits(xy[0][e], xy[1][e])) << e;
}

}  // namespace
