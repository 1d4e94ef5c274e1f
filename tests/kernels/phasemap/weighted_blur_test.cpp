#include "phasemap/weighted_blur.hpp"

#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "box_reference.hpp"
#include "bits.hpp"

namespace {

std::vector<double> blur(const Grid& pm, const std::vector<double>& wmap, const Grid& kernel)
{
    std::vector<double> out(pm.values.size(), -7.0);
    EXPECT_TRUE(
        nrx::weighted_blur(pm.values.data(), wmap.data(), pm.dim, kernel.values.data(), kernel.dim, out.data()));
    return out;
}

std::vector<double> reference_blur(const Grid& pm, const std::vector<double>& wmap, const Grid& kernel)
{
    std::vector<double> out(pm.values.size());
    for (std::int64_t k = 0; k < pm.dim.nz; ++k)
        for (std::int64_t j = 0; j < pm.dim.ny; ++j)
            for (std::int64_t i = 0; i < pm.dim.nx; ++i) {
                double sum = 0.0, total = 0.0;
                reference_box(pm, kernel, i, j, k, [&](double value, std::size_t u) {
                    const double w = value * wmap[u];
                    sum += w * pm.values[u];
                    total += w;
                });
                const std::size_t v = pm.at(i, j, k);
                out[v] = total == 0.0 ? pm.values[v] : sum / total;
            }
    return out;
}

TEST(WeightedBlur, MatchesThePlainReferenceOverShapesAndKernels)
{
    // Some zero and negative weights, and now and then a NaN weight or phase.
    unsigned drawn = 0;
    const auto draw = [&drawn](std::mt19937& generator, double& phase, double& weight) {
        const int w = std::uniform_int_distribution<int>(0, 19)(generator);
        phase = w == 1 ? nan : std::uniform_real_distribution<double>(-3.0, 3.0)(generator);
        weight = w < 4 ? 0.0 : w == 4 ? -0.5 : w == 5 && ++drawn % 3 == 0 ? nan : 0.1 * w;
    };
    for (const FilterCase& c : random_filter_cases(23, draw)) {
        const std::vector<double> got = blur(c.pm, c.wmap, c.kernel),
                                  expected = reference_blur(c.pm, c.wmap, c.kernel);
        for (std::size_t v = 0; v < c.wmap.size(); ++v) {
            ASSERT_TRUE(same_bits(got[v], expected[v])) << c.name << ", voxel " << v;
        }
    }
}

TEST(WeightedBlur, RowInteriorsMatchTheReferenceAtOneAndThreeThreads)
{
    // A kernel with an infinite value blurs even where every weight is 0.
    std::mt19937 generator(6);
    std::uniform_real_distribution<double> uniform(-3.0, 3.0);
    for (const nrx::Grid3 box : {nrx::Grid3{3, 3, 3}, nrx::Grid3{5, 2, 3}, nrx::Grid3{3, 1, 2}}) {
        Grid kernel{box, {}};
        for (std::int64_t e = 0; e < box.count(); ++e) kernel.values.push_back(uniform(generator));
        if (box.nx == 3 && box.ny == 1) kernel.values[4] = std::numeric_limits<double>::infinity();
        const FilterCase c = ball_case({37, 29, 11}, kernel);
        const std::vector<double> expected = reference_blur(c.pm, c.wmap, c.kernel);
        for (const int threads : {1, 3}) {
            omp_set_num_threads(threads);
            const std::vector<double> got = blur(c.pm, c.wmap, c.kernel);
            for (std::size_t v = 0; v < c.wmap.size(); ++v) {
                ASSERT_TRUE(same_bits(got[v], expected[v]))
                    << box.nx << "x" << box.ny << "x" << box.nz << " kernel, " << threads << " threads, voxel " << v;
            }
        }
    }
}

TEST(WeightedBlur, WhereTwoNansMeetTheKernelValueThePhaseAndTheSumComeFirst)
{
    // Along a row of 20 (vector lanes, a tail, border voxels), payloads a, b, c.
    const double a = nan_with_payload(0xa), b = nan_with_payload(0xb), c = nan_with_payload(0xc);
    const Grid ones{{3, 1, 1}, {1.0, 1.0, 1.0}};
    const Grid unit_phases{{20, 1, 1}, std::vector<double>(20, 1.0)};
    // Kernel value a times weight b.
    const std::vector<double> kernel_first = blur(unit_phases, std::vector<double>(20, b), {{3, 1, 1}, {a, 1.0, 1.0}});
    // Phase c times weight a.
    const std::vector<double> phase_first = blur({{20, 1, 1}, std::vector<double>(20, c)}, std::vector<double>(20, a), ones);
    // The sum meeting a term: phases alternating a and b.
    Grid alternating{{20, 1, 1}, {}};
    for (std::size_t v = 0; v < 20; ++v) alternating.values.push_back(v % 2 ? b : a);
    const std::vector<double> sum_first = blur(alternating, std::vector<double>(20, 1.0), ones);
    for (std::size_t v = 0; v < 20; ++v) {
        EXPECT_TRUE(same_bits(kernel_first[v], v > 0 ? a : b)) << v;  // voxel 0 has no left neighbour
        EXPECT_TRUE(same_bits(phase_first[v], c)) << v;
        EXPECT_TRUE(same_bits(sum_first[v], alternating.values[v > 0 ? v - 1 : 0])) << v;
    }
}

TEST(WeightedBlur, StopsBetweenPlanesWhenAsked)
{
    const std::vector<double> pm(60, 1.0);
    std::vector<double> out(60);
    static int asked;
    asked = 0;
    EXPECT_FALSE(nrx::weighted_blur(pm.data(), pm.data(), {4, 3, 5}, pm.data(), {3, 1, 1}, out.data(),
                                    [] { return ++asked < 2; }));
    EXPECT_EQ(asked, 2);
}

TEST(WeightedBlur, UniformWeightsGiveTheBoxMeanCutAtTheBorder)
{
    const std::vector<double> out = blur({{3, 1, 1}, {1.0, 2.0, 4.0}}, {2.0, 2.0, 2.0}, {{3, 1, 1}, {1, 1, 1}});
    EXPECT_EQ(out[0], (2.0 * 1.0 + 2.0 * 2.0) / 4.0);
    EXPECT_EQ(out[1], ((2.0 * 1.0 + 2.0 * 2.0) + 2.0 * 4.0) / 6.0);
    EXPECT_EQ(out[2], (2.0 * 2.0 + 2.0 * 4.0) / 4.0);
    // Even size 2 covers offsets -1 and 0.
    const std::vector<double> back = blur({{3, 1, 1}, {1.0, 2.0, 4.0}}, {1.0, 1.0, 1.0}, {{2, 1, 1}, {1.0, 3.0}});
    EXPECT_EQ(back, (std::vector<double>{1.0, (1.0 + 6.0) / 4.0, (2.0 + 12.0) / 4.0}));
}

TEST(WeightedBlur, ZeroTotalsKeepThePhase)
{
    const Grid pm{{4, 1, 1}, {1.0, 5.0, nan, 3.0}};
    const Grid ones{{3, 1, 1}, {1, 1, 1}};
    // All weights 0: nothing changes, NaN included.
    const std::vector<double> zero = blur(pm, {0.0, 0.0, 0.0, 0.0}, ones);
    for (std::size_t v = 0; v < 4; ++v) EXPECT_TRUE(same_bits(zero[v], pm.values[v]));
    // Opposite weights cancel: voxel 0 sees 2 - 2 = 0 and keeps 1.0.
    const std::vector<double> cancel = blur({{2, 1, 1}, {1.0, 5.0}}, {2.0, -2.0}, ones);
    EXPECT_EQ(cancel[0], 1.0);
}

TEST(WeightedBlur, ZeroWeightVoxelTakesItsNeighboursAndNansSpread)
{
    const Grid ones{{3, 1, 1}, {1, 1, 1}};
    EXPECT_EQ(blur({{3, 1, 1}, {2.0, 100.0, 4.0}}, {1.0, 0.0, 1.0}, ones)[1], 3.0);
    // A NaN weight in the box gives NaN.
    EXPECT_TRUE(std::isnan(blur({{3, 1, 1}, {2.0, 1.0, 4.0}}, {1.0, 1.0, nan}, ones)[1]));
    // A NaN phase of weight 0 still spoils the sum (0 * NaN), unless the total is 0.
    const std::vector<double> out = blur({{4, 1, 1}, {2.0, nan, 4.0, 6.0}}, {1.0, 0.0, 0.0, 0.0}, ones);
    EXPECT_TRUE(std::isnan(out[0]) && std::isnan(out[1]));
    EXPECT_EQ(out[2], 4.0);
    EXPECT_EQ(out[3], 6.0);
}

TEST(WeightedBlur, TwoDMapUsesTheMiddlePlaneOfA3DKernel)
{
    const Grid pm{{3, 3, 1}, {1, 2, 3, 4, 5, 6, 7, 8, 9.5}};
    const std::vector<double> wmap = {1, 2, 1, 0.5, 1, 3, 1, 1, 2};
    Grid cube{{3, 3, 3}, std::vector<double>(27, 1000.0)}, plane{{3, 3, 1}, {}};
    for (std::size_t e = 0; e < 9; ++e) {
        cube.values[9 + e] = 1.0 + 0.25 * e;
        plane.values.push_back(1.0 + 0.25 * e);
    }
    const std::vector<double> from_cube = blur(pm, wmap, cube), from_plane = blur(pm, wmap, plane);
    for (std::size_t v = 0; v < 9; ++v) EXPECT_TRUE(same_bits(from_cube[v], from_plane[v])) << v;
}

}  // namespace
