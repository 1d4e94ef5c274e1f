#include "phasemap/region_graph.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

const double nan = std::numeric_limits<double>::quiet_NaN();

struct Rows {
    std::vector<double> i, j, n, p;
    std::size_t count;
};

Rows graph(const std::vector<double>& rima, const std::vector<double>& pm, std::uint32_t d0, std::uint32_t d1,
           std::uint32_t d2)
{
    const nrx::Grid3 grid{std::int32_t(d0), std::int32_t(d1), std::int32_t(d2)};
    Rows r;
    r.i = {99.0};  // stale contents must go
    r.count = nrx::region_border_pairs(rima.data(), pm.data(), grid, r.i, r.j, r.n, r.p);
    return r;
}

bool same_bits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST(RegionGraph, FlatBorderGivesOneRowPerFacePair)
{
    // 4 x 3 x 2: region 1 where i < 2, region 2 beyond; p = pm(i = 1) - pm(i = 2).
    std::vector<double> rima(24), pm(24);
    for (std::size_t v = 0; v < 24; ++v) {
        rima[v] = v % 4 < 2 ? 1.0 : 2.0;
        pm[v] = 0.5 * static_cast<double>(v * v % 11);
    }
    const Rows r = graph(rima, pm, 4, 3, 2);
    ASSERT_EQ(r.count, 6u);
    std::vector<double> p;
    for (std::size_t line = 0; line < 6; ++line) p.push_back(pm[4 * line + 1] - pm[4 * line + 2]);
    EXPECT_EQ(r.i, std::vector<double>(6, 1.0));
    EXPECT_EQ(r.j, std::vector<double>(6, 2.0));
    EXPECT_EQ(r.n, std::vector<double>(6, 1.0));
    EXPECT_TRUE(same_bits(r.p, p));
}

TEST(RegionGraph, RowsComeInStorageOrderThenKJI)
{
    // 2 x 2 x 2, labels by voxel (i, j, k):
    //   k = 0: (0,0)=5 (1,0)=3 (0,1)=0 (1,1)=5     k = 1: (0,0)=3 (1,0)=3 (0,1)=7 (1,1)=5
    const std::vector<double> rima = {5, 3, 0, 5, 3, 3, 7, 5};
    const std::vector<double> pm = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8};
    const Rows r = graph(rima, pm, 2, 2, 2);
    // v=1 (3): i-1 is 5 -> (3,5, pm1-pm0). v=3 (5): j-1 is 3 -> (3,5, pm1-pm3); i-1 is 0.
    // v=4 (3): k-1 is 5 -> (3,5, pm4-pm0). v=5 (3): k-1 is 3; i-1 is 3.
    // v=6 (7): k-1 is 0; j-1 is 3 -> (3,7, pm4-pm6). v=7 (5): k-1 is 5; j-1 is 3 -> (3,5, pm5-pm7); i-1 is 7 -> (5,7, pm7-pm6).
    EXPECT_EQ(r.i, (std::vector<double>{3, 3, 3, 3, 3, 5}));
    EXPECT_EQ(r.j, (std::vector<double>{5, 5, 5, 7, 5, 7}));
    EXPECT_EQ(r.n, std::vector<double>(6, 1.0));
    EXPECT_TRUE(same_bits(r.p, {pm[1] - pm[0], pm[1] - pm[3], pm[4] - pm[0], pm[4] - pm[6], pm[5] - pm[7],
                                pm[7] - pm[6]}));
}

TEST(RegionGraph, OneRegionOrNoneGivesNoRows)
{
    const std::vector<double> pm(12, 1.0);
    EXPECT_EQ(graph(std::vector<double>(12, 0.0), pm, 3, 4, 1).count, 0u);
    const Rows one = graph({0, 4, 4, 0, 4, 0, 0, 4, 4, 4, 0, 0}, pm, 3, 4, 1);
    EXPECT_EQ(one.count, 0u);
    EXPECT_TRUE(one.i.empty() && one.j.empty() && one.n.empty() && one.p.empty());
    EXPECT_EQ(graph({}, {}, 0, 5, 1).count, 0u);
}

TEST(RegionGraph, NanLabelsPairWithEveryOtherLabelTakingTheLaterVoxelFirst)
{
    // Along the first axis: 2, NaN, NaN, 0, NaN, -1.
    const std::vector<double> rima = {2, nan, nan, 0, nan, -1};
    const std::vector<double> pm = {1, 10, 100, 1000, 10000, 100000};
    const Rows r = graph(rima, pm, 6, 1, 1);
    ASSERT_EQ(r.count, 3u);
    // v=1 (NaN) after 2: (c, h) = (NaN, 2), p = pm[u] - pm[v].
    EXPECT_TRUE(std::isnan(r.i[0]));
    EXPECT_EQ(r.j[0], 2.0);
    EXPECT_EQ(r.p[0], 1.0 - 10.0);
    // v=2 (NaN) after NaN: a pair too.
    EXPECT_TRUE(std::isnan(r.i[1]) && std::isnan(r.j[1]));
    EXPECT_EQ(r.p[1], 10.0 - 100.0);
    // v=5 (-1) after NaN: c = -1, h = NaN.
    EXPECT_EQ(r.i[2], -1.0);
    EXPECT_TRUE(std::isnan(r.j[2]));
    EXPECT_EQ(r.p[2], 10000.0 - 100000.0);
}

TEST(RegionGraph, BeyondTenThousandRowsAllRowsComeInOrder)
{
    // A 3-D checkerboard of labels 1 and 2 pairs every face: 3 * 29 * 30 * 30 rows.
    const std::uint32_t d = 30;
    std::vector<double> rima(d * d * d), pm(rima.size());
    for (std::size_t v = 0; v < rima.size(); ++v) {
        rima[v] = 1.0 + (v % d + v / d % d + v / (d * d)) % 2;
        pm[v] = std::sin(0.37 * static_cast<double>(v));
    }
    const Rows r = graph(rima, pm, d, d, d);
    ASSERT_EQ(r.count, 3u * 29 * 30 * 30);
    std::vector<double> p;
    const std::size_t back[3] = {d * d, d, 1};
    for (std::size_t v = 0; v < rima.size(); ++v) {
        const bool has[3] = {v / (d * d) > 0, v / d % d > 0, v % d > 0};
        for (int a = 0; a < 3; ++a) {
            if (!has[a]) continue;
            const std::size_t u = v - back[a];
            p.push_back(rima[v] == 1.0 ? pm[v] - pm[u] : pm[u] - pm[v]);
        }
    }
    EXPECT_TRUE(same_bits(r.p, p));
    EXPECT_EQ(r.i, std::vector<double>(r.count, 1.0));
    EXPECT_EQ(r.j, std::vector<double>(r.count, 2.0));
    EXPECT_EQ(r.n, std::vector<double>(r.count, 1.0));
}

}  // namespace
