#include "segmentation/morphology.hpp"
#include "segmentation/morphology_runs.hpp"

#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

const double nan = std::numeric_limits<double>::quiet_NaN();

struct Grid {
    std::int32_t d[3];
    std::vector<double> v;
    std::int32_t count() const { return d[0] * d[1] * d[2]; }
};

nrx::Grid3 grid3(const Grid& g) { return {g.d[0], g.d[1], g.d[2]}; }

// The output starts as garbage: the kernel writes every voxel itself.
std::vector<double> morph(const Grid& ima, const Grid& kernel, bool dilate)
{
    std::vector<double> out(ima.v.size(), 7.0);
    nrx::dilate_or_erode(ima.v.data(), grid3(ima), kernel.v.data(), grid3(kernel), dilate, out.data());
    return out;
}

// The pass written as it reads: voxels x outermost, kernel elements kx
// outermost, every neighbour located by coordinates.
std::vector<double> brute_force(const Grid& ima, const Grid& kernel, bool dilate)
{
    std::vector<double> out = ima.v;
    const std::int32_t *id = ima.d, *kd = kernel.d;
    for (int x = 0; x < id[0]; ++x)
        for (int y = 0; y < id[1]; ++y)
            for (int z = 0; z < id[2]; ++z) {
                double& r = out[x + id[0] * (y + id[1] * z)];
                for (int kx = 0; kx < kd[0]; ++kx)
                    for (int ky = 0; ky < kd[1]; ++ky)
                        for (int kz = 0; kz < kd[2]; ++kz) {
                            const int nx = x + kx - kd[0] / 2, ny = y + ky - kd[1] / 2, nz = z + kz - kd[2] / 2;
                            if (nx < 0 || nx >= id[0] || ny < 0 || ny >= id[1] || nz < 0 || nz >= id[2]) continue;
                            const double w = kernel.v[kx + kd[0] * (ky + kd[1] * kz)];
                            if (w == 0) continue;
                            const double p = w * ima.v[nx + id[0] * (ny + id[1] * nz)];
                            if (dilate) {
                                if (!(r > p)) r = p;
                            } else if (r > p) {
                                r = p;
                            }
                        }
            }
    return out;
}

bool same_bits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

Grid random_grid(std::int32_t d0, std::int32_t d1, std::int32_t d2, std::mt19937& gen, double zero_share,
                 double nan_share)
{
    Grid g{{d0, d1, d2}, std::vector<double>(static_cast<std::size_t>(d0) * d1 * d2)};
    std::uniform_real_distribution<double> value(-2.0, 3.0), u(0.0, 1.0);
    for (double& v : g.v) {
        const double r = u(gen);
        v = r < zero_share ? 0.0 : r < zero_share + nan_share ? nan : value(gen);
    }
    return g;
}

TEST(Morphology, MatchesBruteForceWithNaNImagesNaNWeightsAndEvenSizes)
{
    std::mt19937 gen(4);
    const std::vector<std::vector<std::int32_t>> shapes = {
        {7, 6, 5, 3, 3, 3}, {7, 6, 5, 2, 4, 1}, {6, 7, 1, 4, 4, 1}, {5, 4, 3, 9, 1, 6},
        {3, 2, 2, 5, 5, 5}, {1, 1, 1, 3, 3, 3}, {8, 1, 1, 2, 1, 1}};
    for (const auto& s : shapes) {
        for (double nan_share : {0.0, 0.1}) {
            const Grid ima = random_grid(s[0], s[1], s[2], gen, 0.0, nan_share);
            const Grid kernel = random_grid(s[3], s[4], s[5], gen, 0.3, nan_share);
            for (bool dilate : {true, false}) {
                EXPECT_TRUE(same_bits(morph(ima, kernel, dilate), brute_force(ima, kernel, dilate)))
                    << s[0] << "x" << s[1] << "x" << s[2] << " kernel " << s[3] << "x" << s[4] << "x" << s[5]
                    << (dilate ? " dilate" : " erode") << " NaN share " << nan_share;
            }
        }
    }
}

TEST(Morphology, OnesKernelIsTheMaximumOrMinimumFilter)
{
    // 4 x 3 image (rows are y), 3 x 3 kernel of ones.
    const Grid ima{{4, 3, 1}, {5, 1, 2, 0,
                               3, 9, 4, 1,
                               0, 2, 6, 8}};
    const Grid ones{{3, 3, 1}, std::vector<double>(9, 1.0)};
    EXPECT_EQ(morph(ima, ones, true), (std::vector<double>{9, 9, 9, 4,
                                                            9, 9, 9, 8,
                                                            9, 9, 9, 8}));
    EXPECT_EQ(morph(ima, ones, false), (std::vector<double>{1, 1, 0, 0,
                                                             0, 0, 0, 0,
                                                             0, 0, 1, 1}));
}

TEST(Morphology, WeightsScaleNeighboursAndTheVoxelItselfAlwaysTakesPart)
{
    const Grid ima{{4, 1, 1}, {3, -2, 0.5, -1}};
    const Grid two{{1, 1, 1}, {2}};
    EXPECT_EQ(morph(ima, two, true), (std::vector<double>{6, -2, 1, -1}));
    EXPECT_EQ(morph(ima, two, false), (std::vector<double>{3, -4, 0.5, -2}));
    // An all-zero kernel, or one whose only weight falls outside, changes nothing.
    EXPECT_EQ(morph(ima, Grid{{3, 1, 1}, {0, 0, 0}}, true), ima.v);
    EXPECT_EQ(morph(Grid{{1, 1, 1}, {4}}, Grid{{3, 1, 1}, {1, 0, 1}}, false), (std::vector<double>{4}));
    // An empty kernel or image: nothing to do.
    EXPECT_EQ(morph(ima, Grid{{0, 1, 1}, {}}, true), ima.v);
    EXPECT_TRUE(morph(Grid{{0, 3, 1}, {}}, two, false).empty());
}

TEST(Morphology, EvenSizedKernelCentresOnItsUpperMiddleElement)
{
    // 2 x 1 kernel: element 1 is the centre, element 0 looks one voxel back.
    const Grid ima{{4, 1, 1}, {1, 5, 2, 7}};
    EXPECT_EQ(morph(ima, Grid{{2, 1, 1}, {10, 0}}, true), (std::vector<double>{1, 10, 50, 20}));
    EXPECT_EQ(morph(ima, Grid{{2, 1, 1}, {0, 10}}, true), (std::vector<double>{10, 50, 20, 70}));
    // 2 x 2: offsets -1 and 0 along both axes.
    const Grid square{{3, 3, 1}, {1, 2, 3, 4, 5, 6, 7, 8, 9}};
    EXPECT_EQ(morph(square, Grid{{2, 2, 1}, {1, 1, 1, 1}}, false), (std::vector<double>{1, 1, 2, 1, 1, 2, 4, 4, 5}));
    // A kernel larger than the image.
    EXPECT_EQ(morph(Grid{{2, 1, 1}, {3, 8}}, Grid{{5, 1, 1}, {1, 1, 1, 1, 1}}, false), (std::vector<double>{3, 3}));
}

TEST(Morphology, NaNFollowsTheComparisonInKernelOrder)
{
    // Voxel 1 of a 3-voxel line, kernel (a, b, c) looks at voxels 0, 1, 2.
    auto centre = [](std::vector<double> line, std::vector<double> weights, bool dilate) {
        return morph(Grid{{3, 1, 1}, line}, Grid{{3, 1, 1}, weights}, dilate)[1];
    };
    // Dilation: a NaN product replaces the running value...
    EXPECT_TRUE(std::isnan(centre({1, 2, nan}, {1, 1, 1}, true)));
    EXPECT_TRUE(std::isnan(centre({1, 2, 3}, {0, 0, nan}, true)));
    // ...and a later product replaces a NaN, even a smaller one.
    EXPECT_EQ(centre({nan, 2, -5}, {1, 0, 1}, true), -5);
    EXPECT_EQ(centre({1, nan, 0}, {0, 1, 1}, true), 0);
    // Erosion: a NaN product is never taken, a NaN voxel stays NaN.
    EXPECT_EQ(centre({nan, 2, 3}, {1, 1, 1}, false), 2);
    EXPECT_EQ(centre({1, 2, 3}, {nan, 1, 1}, false), 2);
    EXPECT_TRUE(std::isnan(centre({1, nan, 0}, {1, 1, 1}, false)));
}

// Values where the order of the comparisons shows: few distinct ones, both
// zeros, infinities and, when asked, NaN.
Grid tricky_grid(std::int32_t d0, std::int32_t d1, std::int32_t d2, std::mt19937& gen, bool with_nan)
{
    const double pool[] = {0.0, -0.0, 1.5, -2.0, 3.0, INFINITY, -INFINITY, nan};
    Grid g{{d0, d1, d2}, std::vector<double>(static_cast<std::size_t>(d0) * d1 * d2)};
    for (double& v : g.v) v = pool[gen() % (with_nan ? 8 : 7)];
    return g;
}

TEST(Morphology, BoxesOfOnesAndWeightedKernelsMatchBruteForceAtAnyThreadCount)
{
    // Odd sizes whose rows and planes do not split evenly; boxes of ones take
    // their own path, which must end on the same element as the rule.
    std::mt19937 gen(8);
    const std::vector<std::vector<std::int32_t>> kernels = {{3, 3, 3}, {4, 2, 5}, {1, 3, 1}, {41, 1, 2}, {2, 2, 2}};
    for (bool with_nan : {false, true}) {
        const Grid ima = tricky_grid(37, 19, 7, gen, with_nan);
        for (const auto& k : kernels) {
            Grid ones{{k[0], k[1], k[2]}, std::vector<double>(k[0] * k[1] * k[2], 1.0)};
            Grid weighted = random_grid(k[0], k[1], k[2], gen, 0.2, 0.0);
            for (bool dilate : {true, false}) {
                for (const Grid* kernel : {&ones, &weighted}) {
                    const std::vector<double> expected = brute_force(ima, *kernel, dilate);
                    for (int threads : {1, 3}) {
                        omp_set_num_threads(threads);
                        EXPECT_TRUE(same_bits(morph(ima, *kernel, dilate), expected))
                            << k[0] << "x" << k[1] << "x" << k[2] << (kernel == &ones ? " ones" : " weighted")
                            << (dilate ? " dilate" : " erode") << " NaN " << with_nan << " threads " << threads;
                    }
                }
            }
        }
    }
}

TEST(Morphology, EveryInstructionSetGivesTheSameBits)
{
    std::mt19937 gen(5);
    const std::vector<const nrx::detail::MorphologyRuns*> builds = nrx::detail::supported_runs();
    for (std::int64_t n : {0, 1, 3, 8, 17, 70}) {
        const Grid a = tricky_grid(n, 1, 1, gen, true), b = tricky_grid(n, 1, 1, gen, true);
        auto each = [&](auto run) {
            std::vector<double> first;
            for (const nrx::detail::MorphologyRuns* build : builds) {
                std::vector<double> value(n, 7.0);
                run(*build, value.data());
                if (build == builds.front()) first = value;
                EXPECT_TRUE(same_bits(value, first)) << "run of " << n;
            }
        };
        for (double weight : {1.0, -0.5, nan}) {
            each([&](const auto& r, double* v) { r.dilate(v, a.v.data(), b.v.data(), weight, n); });
            each([&](const auto& r, double* v) { r.erode(v, a.v.data(), b.v.data(), weight, n); });
        }
        each([&](const auto& r, double* v) { r.dilate_box(v, a.v.data(), b.v.data(), n); });
        each([&](const auto& r, double* v) { r.erode_box(v, a.v.data(), b.v.data(), n); });
    }
}

TEST(Morphology, StopsWhenTheCallerSaysSo)
{
    std::mt19937 gen(3);
    const Grid ima = random_grid(20, 30, 9, gen, 0.0, 0.0);
    const Grid kernel{{3, 3, 3}, std::vector<double>(27, 2.0)};
    std::vector<double> out(ima.v.size());
    static int asked;
    asked = 0;
    EXPECT_FALSE(nrx::dilate_or_erode(ima.v.data(), grid3(ima), kernel.v.data(), grid3(kernel), true, out.data(),
                                      [] { return ++asked < 3; }));
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(nrx::dilate_or_erode(ima.v.data(), grid3(ima), kernel.v.data(), grid3(kernel), true, out.data(),
                                     [] { return true; }));
}

}  // namespace
