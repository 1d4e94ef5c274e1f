#include "registration/joint_histogram.hpp"
#include "registration/joint_histogram_detail.hpp"

#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

namespace {

using nrx::detail::jitter_table;
using Volume = std::vector<std::uint8_t>;
using Histogram = std::vector<double>;

const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// A map with no linear part sends every grid point to (x, y, z).
void constant_map(double m[16], double x, double y, double z)
{
    std::fill(m, m + 16, 0.0);
    m[12] = x;
    m[13] = y;
    m[14] = z;
    m[15] = 1;
}

Volume random_volume(const std::int32_t d[3], unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> value(0, 255);
    Volume v(static_cast<std::size_t>(d[0]) * d[1] * d[2]);
    for (auto& e : v) e = static_cast<std::uint8_t>(value(generator));
    return v;
}

nrx::Grid3 as_grid(const std::int32_t d[3]) { return {d[0], d[1], d[2]}; }

Histogram run_joint_histogram(const double m[16], const Volume& v1, const std::int32_t d1[3], const Volume& v2,
                              const std::int32_t d2[3], const float s[3])
{
    // NaN everywhere: the kernel clears the table itself.
    Histogram h(256 * 256, std::numeric_limits<double>::quiet_NaN());
    nrx::joint_histogram(m, v1.data(), as_grid(d1), v2.data(), as_grid(d2), s, h.data());
    return h;
}

double total(const Histogram& h) { return std::accumulate(h.begin(), h.end(), 0.0); }

// Grid coordinates along one axis, as the walk visits them.
std::vector<float> grid(std::int32_t d, float s)
{
    std::vector<float> g;
    for (float c = 1.0f; c < static_cast<double>(d) - s; c += s) g.push_back(c);
    return g;
}

// Trilinear sampling as defined: single-precision x and y weights, exact z
// weight, planes combined in double. Reads through at() so that a reference
// point outside the volume fails the test instead of reading past it.
double reference_sample_trilinear(const std::int32_t d[3], const Volume& f, float x, float y, float z)
{
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y)),
              iz = static_cast<int>(std::floor(z));
    const float dx = x - ix, dxc = 1.0f - dx, dy = y - iy, dyc = 1.0f - dy;
    const double dz = static_cast<double>(z) - iz;
    auto v = [&](int a, int b, int c) -> double {
        return f.at((ix - 1 + a) + static_cast<std::size_t>(d[0]) * ((iy - 1 + b) + d[1] * (iz - 1 + c)));
    };
    auto plane = [&](int c) {
        return (v(0, 0, c) * dxc + v(1, 0, c) * dx) * dyc + (v(0, 1, c) * dxc + v(1, 1, c) * dx) * dy;
    };
    return plane(0) * (1.0 - dz) + plane(1) * dz;
}

// The joint histogram as defined, point by point: the n-th grid point is
// jittered by table entries 3n+1, 3n+2, 3n+3 (mod 97).
Histogram reference_joint_histogram(const double m[16], const Volume& v1, const std::int32_t d1[3], const Volume& v2,
                                    const std::int32_t d2[3], const float s[3])
{
    Histogram h(256 * 256, 0.0);
    std::int64_t n = 0;
    for (float z : grid(d1[2], s[2])) {
        for (float y : grid(d1[1], s[1])) {
            for (float x : grid(d1[0], s[0])) {
                const float r[3] = {static_cast<float>(x + static_cast<double>(s[0]) * jitter_table[(3 * n + 1) % 97]),
                                    static_cast<float>(y + static_cast<double>(s[1]) * jitter_table[(3 * n + 2) % 97]),
                                    static_cast<float>(z + static_cast<double>(s[2]) * jitter_table[(3 * n + 3) % 97])};
                ++n;
                float q[3];
                for (int row = 0; row < 3; ++row) {
                    q[row] = static_cast<float>(m[row] * r[0] + m[row + 4] * r[1] + m[row + 8] * r[2] + m[row + 12]);
                }
                if (!(q[2] >= 1 && q[2] < d2[2] && q[1] >= 1 && q[1] < d2[1] && q[0] >= 1 && q[0] < d2[0])) {
                    continue;
                }
                const float vf = static_cast<float>(reference_sample_trilinear(d2, v2, q[0], q[1], q[2]));
                const int i = static_cast<int>(std::floor(vf));
                const float f = vf - i;
                const int j = static_cast<int>(std::floor(reference_sample_trilinear(d1, v1, r[0], r[1], r[2]) + 0.5));
                h.at(256 * j + i) += 1.0 - f;
                if (i < 255) h.at(256 * j + i + 1) += f;
            }
        }
    }
    return h;
}

TEST(JointHistogram, JitterTableHoldsItsValuesInOrder)
{
    double sum = 0.0, weighted = 0.0;
    for (int k = 0; k < 97; ++k) {
        sum += jitter_table[k];
        weighted += jitter_table[k] * (k + 1.0);
    }
    EXPECT_DOUBLE_EQ(sum, 45.928994211833924);
    EXPECT_DOUBLE_EQ(weighted, 2154.108656192664);
    EXPECT_EQ(jitter_table[0], 0.656619f);
    EXPECT_EQ(jitter_table[82], 0.00202556f);
    EXPECT_EQ(jitter_table[96], 0.896648f);
}

TEST(JointHistogram, MatchesReferenceUnderAffineMapsAndSkips)
{
    const std::int32_t d1[3] = {9, 8, 7}, d2[3] = {10, 11, 6};
    const Volume v1 = random_volume(d1, 1), v2 = random_volume(d2, 2);
    // A rotation about z with a shift and a shear: part of the grid maps
    // outside the second volume.
    const double c = std::cos(0.3), s = std::sin(0.3);
    const double m[16] = {c, s, 0.05, 0, -s, c, 0, 0, 0.1, 0, 0.9, 0, 1.7, -0.6, 0.4, 1};
    const float skip_sets[3][3] = {{1, 1, 1}, {0.7f, 1.3f, 2.1f}, {2.5f, 0.5f, 1}};
    for (const auto& skips : skip_sets) {
        const Histogram expected = reference_joint_histogram(m, v1, d1, v2, d2, skips);
        const Histogram h = run_joint_histogram(m, v1, d1, v2, d2, skips);
        ASSERT_GT(total(expected), 10.0);
        for (std::size_t e = 0; e < h.size(); ++e) {
            ASSERT_EQ(h[e], expected[e]) << "row " << e % 256 << " column " << e / 256 << " skips " << skips[0];
        }
    }
}

TEST(JointHistogram, FirstPointIsJitteredByEntriesOneTwoThree)
{
    // A 3 x 3 x 3 first volume has one grid point, (1, 1, 1). Sampled through
    // the identity in a ramp of 100 per voxel along one axis, the second
    // volume's value shows the jitter along that axis.
    const std::int32_t d[3] = {3, 3, 3};
    const Volume v1(27, 7);
    const double jitter[3] = {0.891183, 0.488144, 0.992646};
    const float skips[3] = {1, 1, 1};
    for (int axis = 0; axis < 3; ++axis) {
        Volume ramp(27);
        for (int e = 0; e < 27; ++e) {
            const int coordinate[3] = {e % 3, e / 3 % 3, e / 9};
            ramp[e] = static_cast<std::uint8_t>(100 * coordinate[axis]);
        }
        const Histogram h = run_joint_histogram(identity, v1, d, ramp, d, skips);
        const double value = 100 * jitter[axis];
        const int row = static_cast<int>(value);
        EXPECT_NEAR(h[256 * 7 + row], 1 - (value - row), 1e-4) << "axis " << axis;
        EXPECT_NEAR(h[256 * 7 + row + 1], value - row, 1e-4) << "axis " << axis;
        EXPECT_EQ(total(h), 1.0);
    }
}

TEST(JointHistogram, HalfRoundsUpAndTopValueStaysInLastRow)
{
    // Skips chosen so that the one grid point is jittered to x = 1.5, halfway
    // between first-volume values 127 and 128; every point is mapped to the
    // middle of an all-255 second volume.
    const std::int32_t d1[3] = {2, 2, 2}, d2[3] = {3, 3, 3};
    const Volume v1 = {127, 128, 127, 128, 127, 128, 127, 128};
    const Volume v2(27, 255);
    const float skips[3] = {0.5f / jitter_table[1], 0.5f, 0.5f};
    double m[16];
    constant_map(m, 1.5, 2.5, 1.25);
    const Histogram h = run_joint_histogram(m, v1, d1, v2, d2, skips);
    EXPECT_EQ(h[256 * 128 + 255], 1.0);
    EXPECT_EQ(total(h), 1.0);

    // In the histogram's last element: nothing may go one row further, past
    // the end of the table.
    const Volume top(8, 255);
    const Histogram corner = run_joint_histogram(m, top, d1, v2, d2, skips);
    EXPECT_EQ(corner[256 * 255 + 255], 1.0);
    EXPECT_EQ(total(corner), 1.0);
}

TEST(JointHistogram, MappedPointsCountFromOneUpToButExcludingTheFarFace)
{
    const std::int32_t d1[3] = {3, 3, 3}, d2[3] = {4, 5, 6};
    const Volume v1(27, 0), v2(120, 9);
    const float skips[3] = {1, 1, 1};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inside[3] = {2.5, 2.5, 2.5};
    for (int axis = 0; axis < 3; ++axis) {
        const double counted[] = {1.0, std::nextafter(static_cast<float>(d2[axis]), 0.0f)};
        const double skipped[] = {0.999, static_cast<double>(d2[axis]), nan};
        double p[3] = {inside[0], inside[1], inside[2]};
        double m[16];
        for (double c : counted) {
            p[axis] = c;
            constant_map(m, p[0], p[1], p[2]);
            EXPECT_EQ(total(run_joint_histogram(m, v1, d1, v2, d2, skips)), 1.0) << "axis " << axis << " at " << c;
        }
        for (double c : skipped) {
            p[axis] = c;
            constant_map(m, p[0], p[1], p[2]);
            EXPECT_EQ(total(run_joint_histogram(m, v1, d1, v2, d2, skips)), 0.0) << "axis " << axis << " at " << c;
        }
    }
}

TEST(JointHistogram, JitterRoundedOntoTheFirstVolumesFarFaceIsSkipped)
{
    // With a skip of under two units in the last place, one jittered x
    // rounds up to exactly 3, the far face of a first volume three voxels
    // long (found by search). The second volume is larger, so only the first
    // volume's bound can leave that point out.
    const std::int32_t d1[3] = {3, 2, 2}, d2[3] = {4, 2, 2};
    const Volume v1(12, 1), v2(16, 1);
    const float skips[3] = {std::ldexp(1.90625f, -22), 0.5f, 0.5f};
    const double points = static_cast<double>(grid(d1[0], skips[0]).size());
    EXPECT_EQ(total(run_joint_histogram(identity, v1, d1, v2, d2, skips)), points - 1);
}

TEST(JointHistogram, GridWalkEndsUnlessAnEnteredLoopStalls)
{
    struct Case {
        std::int32_t d[3];
        float s[3];
        bool ends;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float half_spacing_below_2 = std::ldexp(1.0f, -24);
    const std::int32_t beyond_24_bits = (1 << 24) + 2;
    const Case cases[] = {
        {{5, 5, 5}, {1, 1, 1}, true},
        {{5, 5, 5}, {0, 1, 1}, false},
        {{5, 5, 5}, {1, -1, 1}, false},
        {{5, 5, 5}, {1, 1, nan}, true},  // z < NaN fails: the walk never starts
        // A stalling inner skip matters only when its loop is entered.
        {{2, 5, 5}, {1, 1e-9f, 1}, false},
        {{5, 5, 1}, {0, 1e-9f, 1}, true},
        // Unit skips reach 2^24 and stall there when the axis goes on.
        {{beyond_24_bits - 1, 3, 3}, {1, 1, 1}, true},
        {{beyond_24_bits, 3, 3}, {1, 1, 1}, false},
        {{3, beyond_24_bits, 3}, {1, 2, 1}, true},
        // Just below 2 the float spacing is 2^-23: a skip of exactly half of
        // it rounds an even coordinate back to itself; one just above moves
        // every coordinate on.
        {{2, 2, 2}, {half_spacing_below_2, 0.5f, 0.5f}, false},
        {{2, 2, 2}, {std::nextafter(half_spacing_below_2, 1.0f), 0.5f, 0.5f}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nrx::grid_walk_ends(as_grid(c.d), c.s), c.ends)
            << "d " << c.d[0] << " " << c.d[1] << " " << c.d[2] << ", s " << c.s[0] << " " << c.s[1] << " " << c.s[2];
    }
}

TEST(JointHistogram, SmallestAcceptedSkipFinishesTheGrid)
{
    // Every step adds one unit in the last place: 2^23 points from 1 to 2.
    const std::int32_t d1[3] = {2, 2, 2}, d2[3] = {0, 0, 0};
    const float skips[3] = {std::nextafter(std::ldexp(1.0f, -24), 1.0f), 0.5f, 0.5f};
    ASSERT_TRUE(nrx::grid_walk_ends(as_grid(d1), skips));
    const Volume v1(8, 0), v2;
    EXPECT_EQ(total(run_joint_histogram(identity, v1, d1, v2, d2, skips)), 0.0);
}

TEST(JointHistogram, OneAndThreeThreadsAndSmallBatchesAddInWalkOrder)
{
    // Unit skips: 141659 points, 35 pieces of 4096. Small x skips: rows of
    // about 3200 points, so that pieces start inside rows.
    const std::int32_t d1[3] = {61, 51, 51}, d2[3] = {57, 55, 50};
    const Volume v1 = random_volume(d1, 3), v2 = random_volume(d2, 4);
    const double c = std::cos(0.2), s = std::sin(0.2);
    const double m[16] = {c, s, 0, 0, -s, c, 0, 0, 0.05, 0, 0.95, 0, 3.3, -4.1, 1.2, 1};
    const float skip_sets[2][3] = {{1, 1, 1}, {0.019f, 7, 9}};
    for (const auto& skips : skip_sets) {
        const Histogram expected = reference_joint_histogram(m, v1, d1, v2, d2, skips);
        ASSERT_GT(total(expected), 50000.0);
        for (int threads : {1, 3}) {
            omp_set_num_threads(threads);
            Histogram batched(256 * 256);
            nrx::detail::joint_histogram_in_batches(m, v1.data(), as_grid(d1), v2.data(), as_grid(d2), skips,
                                                    batched.data(), 4);
            for (const Histogram& h : {run_joint_histogram(m, v1, d1, v2, d2, skips), batched}) {
                for (std::size_t e = 0; e < h.size(); ++e) {
                    ASSERT_EQ(h[e], expected[e]) << e << " skips " << skips[0] << ", " << threads << " threads";
                }
            }
        }
    }
}

}  // namespace
