#include "phasemap/ramps.hpp"
#include "phasemap/ramp_estimate.hpp"

#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "bits.hpp"

namespace {

struct Map {
    nrx::Grid3 dim;
    std::vector<double> pm, mask;

    Map(std::uint32_t d0, std::uint32_t d1, std::uint32_t d2)
        : dim{std::int32_t(d0), std::int32_t(d1), std::int32_t(d2)}
    {
        pm.assign(dim.count(), 0.0);
        mask.assign(pm.size(), 1.0);
    }
    std::size_t at(std::size_t i, std::size_t j, std::size_t k) const { return i + dim.nx * (j + dim.ny * k); }
};

// Outputs start as garbage: the kernels initialise everything they return.
struct Fit {
    double ramp[3] = {-7.0, -7.0, -7.0};
    std::vector<double> out;
};

Fit fit(const Map& m)
{
    Fit f;
    f.out.assign(m.pm.size(), -7.0);
    nrx::fit_ramp(m.pm.data(), m.mask.data(), m.dim, f.ramp, f.out.data());
    return f;
}

// The estimate written out plainly: i outermost, k innermost, one addition
// per in-mask forward pair.
void reference_ramps(const Map& m, double ramp[3])
{
    int pairs[3] = {0, 0, 0};
    double sum[3] = {0.0, 0.0, 0.0};
    for (std::int64_t i = 0; i < m.dim.nx; ++i)
        for (std::int64_t j = 0; j < m.dim.ny; ++j)
            for (std::int64_t k = 0; k < m.dim.nz; ++k) {
                const std::size_t v = m.at(i, j, k);
                if (m.mask[v] == 0.0) continue;
                const std::size_t next[3] = {m.at(i + 1, j, k), m.at(i, j + 1, k), m.at(i, j, k + 1)};
                const bool exists[3] = {i + 1 < m.dim.nx, j + 1 < m.dim.ny, k + 1 < m.dim.nz};
                for (int a = 0; a < 3; ++a)
                    if (exists[a] && m.mask[next[a]] != 0.0) {
                        sum[a] += nrx::wrap(m.pm[next[a]] - m.pm[v]);
                        ++pairs[a];
                    }
            }
    ramp[0] = sum[0] / pairs[0];
    ramp[1] = sum[1] / pairs[1];
    ramp[2] = pairs[2] ? sum[2] / pairs[2] : 0.0;
}

Map random_map(std::uint32_t d0, std::uint32_t d1, std::uint32_t d2, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> phase(-3.3, 3.3);
    std::uniform_int_distribution<int> kind(0, 5);
    Map m(d0, d1, d2);
    for (std::size_t v = 0; v < m.pm.size(); ++v) {
        m.pm[v] = phase(generator);
        const int k = kind(generator);
        m.mask[v] = k == 0 ? 0.0 : k == 1 ? -0.0 : k == 2 ? nan : 0.5 * k;
    }
    return m;
}

TEST(RampFit, WrappedRampOfOneTenthPerVoxelIsRecovered)
{
    Map m(8, 8, 8);
    for (std::uint32_t k = 0; k < 8; ++k)
        for (std::uint32_t j = 0; j < 8; ++j)
            for (std::uint32_t i = 0; i < 8; ++i) m.pm[m.at(i, j, k)] = std::remainder(3.0 + 0.1 * i, 2 * M_PI);
    ASSERT_LT(m.pm[m.at(7, 0, 0)], 0.0);  // the ramp does wrap
    const Fit f = fit(m);
    EXPECT_NEAR(f.ramp[0], 0.1, 1e-14);
    EXPECT_TRUE(same_bits(f.ramp[1], 0.0) && same_bits(f.ramp[2], 0.0));
    for (std::uint32_t i = 0; i < 8; ++i) {
        const double flat = f.out[m.at(i, 0, 0)];
        const double turns = (flat - f.out[m.at(0, 0, 0)]) / (2 * M_PI);
        EXPECT_NEAR(turns, std::round(turns), 1e-12) << i;
        EXPECT_TRUE(same_bits(flat, m.pm[m.at(i, 0, 0)] - f.ramp[0] * (i - 3.5)));
        EXPECT_TRUE(same_bits(f.out[m.at(i, 5, 6)], flat));
    }
}

TEST(RampFit, SumsInTheFixedVisitingOrderOverRandomMasks)
{
    for (const auto& size : {std::vector<std::uint32_t>{5, 4, 3}, {1, 6, 5}, {7, 1, 2}, {9, 8, 1}, {17, 3, 11}}) {
        const Map m = random_map(size[0], size[1], size[2], size[0] * 100 + size[2]);
        double expected[3];
        reference_ramps(m, expected);
        const Fit f = fit(m);
        for (int a = 0; a < 3; ++a) {
            EXPECT_TRUE(same_bits(f.ramp[a], expected[a])) << size[0] << "x" << size[1] << "x" << size[2] << " axis " << a;
        }
    }
}

TEST(RampFit, BlocksOfPlanesAndThreadsKeepTheSums)
{
    // Differences beyond one turn, infinite and NaN phases now and then;
    // scratch for one x plane at a time (or none: a buffer of one plane's),
    // for a few, for all.
    for (const auto& size : {std::vector<std::uint32_t>{37, 19, 13}, {23, 5, 1}, {3, 17, 9}}) {
        Map m = random_map(size[0], size[1], size[2], size[0] + size[1]);
        for (std::size_t v = 0; v < m.pm.size(); v += 37) m.pm[v] = v % 3 ? 40.0 * m.pm[v] : 1e6;
        for (std::size_t v = 5; v < m.pm.size(); v += 501) m.pm[v] = v % 2 ? nan : -std::numeric_limits<double>::infinity();
        double expected[3];
        reference_ramps(m, expected);
        std::vector<double> scratch(3 * m.pm.size());
        for (const int threads : {1, 3})
            for (const std::int64_t room : {std::int64_t{0}, std::int64_t{3 * size[1] * size[2]}, std::int64_t{2000},
                                            std::int64_t(scratch.size())}) {
                omp_set_num_threads(threads);
                double ramp[3];
                nrx::detail::estimate_ramp(m.pm.data(), m.mask.data(), m.dim, ramp, scratch.data(), room);
                for (int a = 0; a < 3; ++a) {
                    EXPECT_TRUE(same_bits(ramp[a], expected[a]))
                        << size[0] << "x" << size[1] << "x" << size[2] << ", " << threads << " threads, " << room;
                }
            }
    }
}

TEST(RampFit, WhereTwoNansMeetTheLaterPhaseAndTheLaterTermComeFirst)
{
    // Terms a - 0 (a), b - a (b), c - b (c), 0 - c (c): the sum ends as the last NaN term.
    Map m(5, 1, 1);
    m.pm = {0.0, nan_with_payload(0xa), nan_with_payload(0xb), nan_with_payload(0xc), 0.0};
    EXPECT_TRUE(same_bits(fit(m).ramp[0], nan_with_payload(0xc)));
}

TEST(RampFit, ExactDifferencesOfPiAndOfThreePointTwo)
{
    Map m(2, 1, 1);
    m.pm = {0.0, 3.14159265358979};
    EXPECT_TRUE(same_bits(fit(m).ramp[0], 3.14159265358979));
    m.pm = {0.0, 3.2};
    EXPECT_TRUE(same_bits(fit(m).ramp[0], 3.2 - 6.28318530717958));
    m.pm = {1.0, std::numeric_limits<double>::infinity()};
    EXPECT_TRUE(std::isnan(fit(m).ramp[0]));  // ends, and marks the ramp unusable
}

TEST(RampFit, TwoDimensionalMapHasZeroThirdRampAndNoZTerm)
{
    Map m = random_map(6, 5, 1, 3);
    const Fit f = fit(m);
    EXPECT_TRUE(same_bits(f.ramp[2], 0.0));
    for (std::uint32_t j = 0; j < 5; ++j)
        for (std::uint32_t i = 0; i < 6; ++i) {
            const std::size_t v = m.at(i, j, 0);
            const double expected = m.mask[v] == 0.0 ? m.pm[v] : (m.pm[v] - f.ramp[0] * (i - 2.5)) - f.ramp[1] * (j - 2.0);
            EXPECT_TRUE(same_bits(f.out[v], expected)) << i << "," << j;
        }
    // A 3-D map whose mask pairs no two planes also gives exactly +0.
    Map layers = random_map(4, 4, 4, 5);
    for (std::uint32_t k = 1; k < 4; k += 2)
        for (std::uint32_t j = 0; j < 4; ++j)
            for (std::uint32_t i = 0; i < 4; ++i) layers.mask[layers.at(i, j, k)] = 0.0;
    EXPECT_TRUE(same_bits(fit(layers).ramp[2], 0.0));
}

TEST(RampFit, EmptyMaskGivesNanRampsAndLeavesTheMap)
{
    Map m = random_map(4, 3, 2, 9);
    m.mask.assign(m.mask.size(), -0.0);
    const Fit f = fit(m);
    EXPECT_TRUE(std::isnan(f.ramp[0]) && std::isnan(f.ramp[1]));
    EXPECT_TRUE(same_bits(f.ramp[2], 0.0));
    for (std::size_t v = 0; v < m.pm.size(); ++v) EXPECT_TRUE(same_bits(f.out[v], m.pm[v]));
}

TEST(RampFit, SingleRowAlongTheFirstAxisMakesTheMaskedVoxelsNan)
{
    Map m = random_map(1, 4, 3, 21);
    m.mask[0] = 0.0;
    m.mask[1] = nan;  // NaN is inside the mask
    const Fit f = fit(m);
    EXPECT_TRUE(std::isnan(f.ramp[0]));
    EXPECT_FALSE(std::isnan(f.ramp[1]) || std::isnan(f.ramp[2]));
    for (std::size_t v = 0; v < m.pm.size(); ++v) {
        if (m.mask[v] == 0.0) {
            EXPECT_TRUE(same_bits(f.out[v], m.pm[v]));
        } else {
            EXPECT_TRUE(std::isnan(f.out[v]));
        }
    }
}

TEST(RampAdd, RestoringTheRemovedRampGivesTheMapBack)
{
    const Map m = random_map(7, 6, 5, 33);
    Fit f = fit(m);
    const std::vector<double> flat = f.out;
    nrx::add_ramp(flat.data(), m.mask.data(), m.dim, f.ramp, f.out.data());
    for (std::size_t v = 0; v < m.pm.size(); ++v) EXPECT_NEAR(f.out[v], m.pm[v], 1e-14) << v;

    // The three terms are added in axis order at the inside voxels only.
    const double ramp[3] = {0.3, -0.7, 1.1};
    std::vector<double> out(m.pm.size(), -7.0);
    nrx::add_ramp(m.pm.data(), m.mask.data(), m.dim, ramp, out.data());
    for (std::uint32_t k = 0; k < 5; ++k)
        for (std::uint32_t j = 0; j < 6; ++j)
            for (std::uint32_t i = 0; i < 7; ++i) {
                const std::size_t v = m.at(i, j, k);
                const double expected =
                    m.mask[v] == 0.0 ? m.pm[v] : ((m.pm[v] + 0.3 * (i - 3.0)) + -0.7 * (j - 2.5)) + 1.1 * (k - 2.0);
                EXPECT_TRUE(same_bits(out[v], expected)) << i << "," << j << "," << k;
            }
}

TEST(RampAdd, SameBitsAtOneAndThreeThreadsAndANanXTermComesFirst)
{
    const Map m = random_map(13, 7, 9, 4);
    const double ramp[3] = {0.3, -0.7, 1.1};
    std::vector<double> one(m.pm.size()), three(m.pm.size());
    omp_set_num_threads(1);
    nrx::add_ramp(m.pm.data(), m.mask.data(), m.dim, ramp, one.data());
    omp_set_num_threads(3);
    nrx::add_ramp(m.pm.data(), m.mask.data(), m.dim, ramp, three.data());
    EXPECT_EQ(std::memcmp(one.data(), three.data(), one.size() * sizeof(double)), 0);

    // NaN phases a with NaN x ramp b give b, with NaN y ramp b give a (vector lanes and a tail).
    Map nans(9, 2, 1);
    nans.pm.assign(18, nan_with_payload(0xa));
    const double x_ramp[3] = {nan_with_payload(0xb), 0.0, 0.0}, y_ramp[3] = {0.0, nan_with_payload(0xb), 0.0};
    std::vector<double> from_x(18), from_y(18);
    nrx::add_ramp(nans.pm.data(), nans.mask.data(), nans.dim, x_ramp, from_x.data());
    nrx::add_ramp(nans.pm.data(), nans.mask.data(), nans.dim, y_ramp, from_y.data());
    for (std::size_t v = 0; v < 18; ++v) {
        EXPECT_TRUE(same_bits(from_x[v], nan_with_payload(0xb)) && same_bits(from_y[v], nan_with_payload(0xa))) << v;
    }
}

TEST(RampAdd, ZeroRampChangesNothingAndNanZRampSpoilsEvenA2DMap)
{
    const Map m = random_map(5, 4, 1, 8);
    const double zero[3] = {0.0, 0.0, 0.0};
    std::vector<double> out(m.pm.size(), -7.0);
    nrx::add_ramp(m.pm.data(), m.mask.data(), m.dim, zero, out.data());
    for (std::size_t v = 0; v < out.size(); ++v) EXPECT_TRUE(same_bits(out[v], m.pm[v]));

    const double nan_z[3] = {0.0, 0.0, nan};
    nrx::add_ramp(m.pm.data(), m.mask.data(), m.dim, nan_z, out.data());
    for (std::size_t v = 0; v < out.size(); ++v) EXPECT_EQ(std::isnan(out[v]), m.mask[v] != 0.0) << v;
}

}  // namespace
