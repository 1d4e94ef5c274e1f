#include "phasemap/phase_fill.hpp"

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

struct Filled {
    std::vector<double> pm, wmap;
};

Filled fill(const Grid& pm, const std::vector<double>& wmap, const Grid& kernel)
{
    Filled out{std::vector<double>(pm.values.size(), -7.0), std::vector<double>(pm.values.size(), -7.0)};
    EXPECT_TRUE(nrx::fill_empty_phase(pm.values.data(), wmap.data(), pm.dim, kernel.values.data(), kernel.dim,
                                      out.pm.data(), out.wmap.data()));
    return out;
}

Filled reference_fill(const Grid& pm, const std::vector<double>& wmap, const Grid& kernel)
{
    Filled out{pm.values, wmap};
    for (std::int64_t k = 0; k < pm.dim.nz; ++k)
        for (std::int64_t j = 0; j < pm.dim.ny; ++j)
            for (std::int64_t i = 0; i < pm.dim.nx; ++i) {
                const std::size_t v = pm.at(i, j, k);
                if (wmap[v] != 0.0) continue;
                double sum = 0.0;
                int known = 0;
                reference_box(pm, kernel, i, j, k, [&](double value, std::size_t u) {
                    if (wmap[u] != 0.0) {
                        sum += value * pm.values[u];
                        ++known;
                    }
                });
                if (known > 0) {
                    out.pm[v] = sum / known;
                    out.wmap[v] = 1.0;
                }
            }
    return out;
}

TEST(PhaseFill, MatchesThePlainReferenceOverShapesAndKernels)
{
    // Half the voxels empty; NaN and negative weights are known.
    const auto draw = [](std::mt19937& generator, double& phase, double& weight) {
        phase = std::uniform_real_distribution<double>(-3.0, 3.0)(generator);
        const int w = std::uniform_int_distribution<int>(0, 9)(generator);
        weight = w < 5 ? (w % 2 ? 0.0 : -0.0) : w == 5 ? nan : w == 6 ? -1.0 : 0.25 * w;
    };
    for (const FilterCase& c : random_filter_cases(17, draw)) {
        const Filled got = fill(c.pm, c.wmap, c.kernel), expected = reference_fill(c.pm, c.wmap, c.kernel);
        for (std::size_t v = 0; v < c.wmap.size(); ++v) {
            ASSERT_TRUE(same_bits(got.pm[v], expected.pm[v]) && same_bits(got.wmap[v], expected.wmap[v]))
                << c.name << ", voxel " << v;
        }
    }
}

TEST(PhaseFill, RowInteriorsMatchTheReferenceAtOneAndThreeThreads)
{
    std::mt19937 generator(5);
    std::uniform_real_distribution<double> uniform(-3.0, 3.0);
    for (const nrx::Grid3 box : {nrx::Grid3{3, 3, 3}, nrx::Grid3{4, 5, 2}}) {
        Grid kernel{box, {}};
        for (std::int64_t e = 0; e < box.count(); ++e) kernel.values.push_back(uniform(generator));
        const FilterCase c = ball_case({37, 29, 11}, kernel);
        const Filled expected = reference_fill(c.pm, c.wmap, c.kernel);
        for (const int threads : {1, 3}) {
            omp_set_num_threads(threads);
            const Filled got = fill(c.pm, c.wmap, c.kernel);
            for (std::size_t v = 0; v < c.wmap.size(); ++v) {
                ASSERT_TRUE(same_bits(got.pm[v], expected.pm[v]) && same_bits(got.wmap[v], expected.wmap[v]))
                    << box.nx << "x" << box.ny << "x" << box.nz << " kernel, " << threads << " threads, voxel " << v;
            }
        }
    }
}

TEST(PhaseFill, WhereTwoNansMeetTheKernelValueAndThenTheSumComeFirst)
{
    const double a = nan_with_payload(0xa), b = nan_with_payload(0xb);
    // Empty odd voxels between known even ones of phases a, b, a, ...: vector
    // lanes, a tail and a border voxel.
    Grid pm{{20, 1, 1}, std::vector<double>(20, 0.0)};
    std::vector<double> wmap(20);
    for (std::size_t v = 0; v < 20; v += 2) {
        pm.values[v] = v % 4 ? b : a;
        wmap[v] = 1.0;
    }
    const Filled kernel_first = fill(pm, wmap, {{3, 1, 1}, {b, 1.0, 1.0}});
    const Filled sum_first = fill(pm, wmap, {{3, 1, 1}, {1.0, 1.0, 1.0}});
    for (std::size_t v = 1; v < 20; v += 2) {
        EXPECT_TRUE(same_bits(kernel_first.pm[v], b)) << v;
        EXPECT_TRUE(same_bits(sum_first.pm[v], pm.values[v - 1])) << v;
    }
}

TEST(PhaseFill, StopsBetweenPlanesWhenAsked)
{
    const Grid pm{{4, 3, 5}, std::vector<double>(60, 1.0)};
    const std::vector<double> wmap(60, 0.0);
    std::vector<double> pm_out(60), wmap_out(60);
    static int asked;
    asked = 0;
    EXPECT_FALSE(nrx::fill_empty_phase(pm.values.data(), wmap.data(), pm.dim, pm.values.data(), {3, 1, 1},
                                       pm_out.data(), wmap_out.data(), [] { return ++asked < 2; }));
    EXPECT_EQ(asked, 2);
}

TEST(PhaseFill, DividesByTheNumberOfKnownNeighbours)
{
    // A kernel of ones: neighbours 1.0 and 2.0 give 1.5.
    const Grid ones{{3, 1, 1}, {1, 1, 1}};
    Filled f = fill({{3, 1, 1}, {1.0, 9.0, 2.0}}, {1.0, 0.0, 1.0}, ones);
    EXPECT_EQ(f.pm, (std::vector<double>{1.0, 1.5, 2.0}));
    EXPECT_EQ(f.wmap, (std::vector<double>{1.0, 1.0, 1.0}));

    // Face neighbours weighted 1, all 26 neighbours known at phase 1: 6/26.
    Grid faces{{3, 3, 3}, std::vector<double>(27, 0.0)};
    for (std::size_t e : {4, 10, 12, 14, 16, 22}) faces.values[e] = 1.0;
    std::vector<double> weights(27, 1.0);
    weights[13] = 0.0;
    f = fill({{3, 3, 3}, std::vector<double>(27, 1.0)}, weights, faces);
    EXPECT_EQ(f.pm[13], 6.0 / 26.0);
    EXPECT_EQ(f.wmap[13], 1.0);
}

TEST(PhaseFill, KnownVoxelsPassAndLoneEmptyVoxelsStayEmpty)
{
    const Grid ones{{3, 3, 1}, std::vector<double>(9, 1.0)};
    // Weights NaN and -1 count as known: they pass through and feed the empty voxel.
    const Grid pm{{4, 1, 1}, {0.5, 4.0, 7.0, -2.0}};
    const std::vector<double> wmap = {nan, 0.0, -1.0, 0.0};
    const Filled f = fill(pm, wmap, ones);
    EXPECT_TRUE(same_bits(f.wmap[0], nan));
    EXPECT_EQ(f.pm[0], 0.5);
    EXPECT_EQ(f.pm[1], (0.5 + 7.0) / 2);
    EXPECT_EQ(f.pm[2], 7.0);
    EXPECT_EQ(f.wmap[2], -1.0);
    EXPECT_EQ(f.pm[3], 7.0);  // the box is cut at the border
    // Voxel 2 has no known voxel within reach (its neighbours are filled in
    // this call, but from the input maps they are empty): it is kept.
    const Filled lone = fill({{5, 1, 1}, {1.0, 2.0, 3.0, 4.0, 5.0}}, {1.0, 0.0, 0.0, 0.0, 1.0}, ones);
    EXPECT_EQ(lone.pm, (std::vector<double>{1.0, 1.0, 3.0, 5.0, 5.0}));
    EXPECT_EQ(lone.wmap, (std::vector<double>{1.0, 1.0, 0.0, 1.0, 1.0}));
}

TEST(PhaseFill, EvenSizesReachOneFurtherBackAndTwoDMapsUseTheMiddlePlane)
{
    // Size 2 along the first axis covers offsets -1 and 0.
    const Filled back = fill({{3, 1, 1}, {4.0, 0.0, 8.0}}, {1.0, 0.0, 1.0}, {{2, 1, 1}, {3.0, 5.0}});
    EXPECT_EQ(back.pm[1], 3.0 * 4.0);
    // A 2-D map with a 3x3x3 kernel: only kernel plane c = 1 reaches the map.
    Grid kernel{{3, 3, 3}, std::vector<double>(27, 100.0)};
    for (std::size_t e = 9; e < 18; ++e) kernel.values[e] = 0.5;
    const Filled flat = fill({{3, 3, 1}, {1, 2, 3, 4, 0, 6, 7, 8, 9}}, {1, 1, 1, 1, 0, 1, 1, 1, 1}, kernel);
    EXPECT_EQ(flat.pm[4], 0.5 * 40.0 / 8.0);
}

TEST(PhaseFill, KernelWithoutElementsCopiesTheMaps)
{
    const Filled f = fill({{2, 1, 1}, {3.0, 4.0}}, {0.0, 1.0}, {{0, 3, 1}, {}});
    EXPECT_EQ(f.pm, (std::vector<double>{3.0, 4.0}));
    EXPECT_EQ(f.wmap, (std::vector<double>{0.0, 1.0}));
}

}  // namespace
