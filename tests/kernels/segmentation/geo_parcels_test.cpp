#include "segmentation/geo_parcels.hpp"
#include "segmentation/geo_parcels_growth.hpp"
#include "segmentation/geo_parcels_masks.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <queue>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using nrx::ParcelStatus;
using nrx::detail::MaskEntry;

const double inf = std::numeric_limits<double>::infinity();

struct Maps {
    std::vector<double> labels, dists;
};

// Runs the kernel; seeds are given row by row as one-based (x, y, z).
Maps run(const std::vector<double>& img, std::int32_t d0, std::int32_t d1, std::int32_t d2,
         const std::vector<std::vector<double>>& seed_rows, const char* type, ParcelStatus expected = ParcelStatus::done)
{
    const std::int32_t n = static_cast<std::int32_t>(seed_rows.size());
    std::vector<double> seeds(3 * seed_rows.size());
    for (std::int32_t s = 0; s < n; ++s)
        for (int a = 0; a < 3; ++a) seeds[s + n * a] = seed_rows[s][a];
    Maps maps{std::vector<double>(img.size(), 7.0), std::vector<double>(img.size(), 7.0)};
    EXPECT_EQ(nrx::grow_geodesic_parcels(img.data(), {d0, d1, d2}, seeds.data(), n, maps.labels.data(),
                                         maps.dists.data(), type),
              expected);
    return maps;
}

// A 2-D mask from a picture: one string per y, one character per x, '#' inside.
std::vector<double> picture(const std::vector<std::string>& rows)
{
    std::vector<double> img;
    const std::size_t d0 = rows[0].size();
    img.resize(d0 * rows.size());
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < d0; ++x) img[x + d0 * y] = rows[y][x] == '#' ? 1.0 : 0.0;
    return img;
}

template <std::size_t N>
void expect_second_half_negates_first(const std::array<MaskEntry, N>& table)
{
    for (std::size_t e = 0; e < N / 2; ++e) {
        const MaskEntry &a = table[e], &b = table[e + N / 2];
        EXPECT_TRUE(a.dx == -b.dx && a.dy == -b.dy && a.dz == -b.dz && a.weight == b.weight) << "entry " << e;
    }
}

auto entry(const MaskEntry& e) { return std::make_tuple(e.dx, e.dy, e.dz, e.weight); }

TEST(GeoParcelsMasks, SmallTablesInTheirTieBreakingOrder)
{
    // d4 lists the faces in raster order: its second half negates the first
    // in reverse order.
    const std::vector<std::tuple<int, int, int, double>> d4 = {
        {0, 0, -1, 1}, {0, -1, 0, 1}, {-1, 0, 0, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
    for (std::size_t e = 0; e < d4.size(); ++e) EXPECT_EQ(entry(nrx::detail::maskd4[e]), d4[e]) << e;
    expect_second_half_negates_first(nrx::detail::maskd8);
    expect_second_half_negates_first(nrx::detail::maskd34);
    EXPECT_EQ(entry(nrx::detail::maskd8[0]), std::make_tuple(-1, -1, 0, 1.0));
    EXPECT_EQ(entry(nrx::detail::maskd8[8]), std::make_tuple(0, -1, 1, 1.0));
    EXPECT_EQ(entry(nrx::detail::maskd34[11]), std::make_tuple(0, 0, -1, 3.0));
    EXPECT_EQ(entry(nrx::detail::maskd34[12]), std::make_tuple(0, -1, 1, 4.0));
    // d8: faces and edges once each; d34: face 3, edge 4, corner 5, every
    // offset of the 3x3x3 cube once.
    std::set<std::tuple<int, int, int>> seen8, seen34;
    for (const MaskEntry& e : nrx::detail::maskd8) {
        const int nonzero = (e.dx != 0) + (e.dy != 0) + (e.dz != 0);
        EXPECT_TRUE(nonzero == 1 || nonzero == 2);
        seen8.insert({e.dx, e.dy, e.dz});
    }
    EXPECT_EQ(seen8.size(), 18u);
    for (const MaskEntry& e : nrx::detail::maskd34) {
        const int nonzero = (e.dx != 0) + (e.dy != 0) + (e.dz != 0);
        EXPECT_EQ(e.weight, 2 + nonzero);
        seen34.insert({e.dx, e.dy, e.dz});
    }
    EXPECT_EQ(seen34.size(), 26u);
}

TEST(GeoParcelsMasks, D5711IsTheRasterOfTheNotAllEvenOffsets)
{
    const auto& t = nrx::detail::maskd5711;
    int per_dz[5] = {0, 0, 0, 0, 0};
    for (const MaskEntry& e : t) {
        EXPECT_FALSE(e.dx % 2 == 0 && e.dy % 2 == 0 && e.dz % 2 == 0);
        ++per_dz[e.dz + 2];
    }
    EXPECT_EQ(std::vector<int>(per_dz, per_dz + 5), (std::vector<int>{16, 25, 16, 25, 16}));
    EXPECT_EQ(entry(t[0]), std::make_tuple(-1, -2, -2, 15.0));
    EXPECT_EQ(entry(t[1]), std::make_tuple(1, -2, -2, 15.0));
    EXPECT_EQ(entry(t[2]), std::make_tuple(-2, -1, -2, 15.0));
    EXPECT_EQ(entry(t[3]), std::make_tuple(-1, -1, -2, 12.0));
    EXPECT_EQ(entry(t[4]), std::make_tuple(0, -1, -2, 11.0));
    EXPECT_EQ(entry(t[97]), std::make_tuple(1, 2, 2, 15.0));
}

// Shortest path lengths from the given sources, stepping only into inside
// voxels, by Dijkstra's algorithm over the mask.
template <std::size_t N>
std::vector<double> dijkstra(const std::vector<double>& img, const std::int32_t dim[3],
                             const std::vector<std::int32_t>& sources, const std::array<MaskEntry, N>& mask)
{
    std::vector<double> dist(img.size(), inf);
    using Item = std::pair<double, std::int32_t>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    for (std::int32_t s : sources) {
        dist[s] = 0;
        queue.push({0.0, s});
    }
    while (!queue.empty()) {
        const auto [d, v] = queue.top();
        queue.pop();
        if (d > dist[v]) continue;
        const int x = v % dim[0], y = v / dim[0] % dim[1], z = v / (dim[0] * dim[1]);
        for (const MaskEntry& e : mask) {
            const int nx = x + e.dx, ny = y + e.dy, nz = z + e.dz;
            if (nx < 0 || nx >= dim[0] || ny < 0 || ny >= dim[1] || nz < 0 || nz >= dim[2]) continue;
            const std::int32_t n = nx + dim[0] * (ny + dim[1] * nz);
            if (img[n] > 0 && d + e.weight < dist[n]) {
                dist[n] = d + e.weight;
                queue.push({dist[n], n});
            }
        }
    }
    return dist;
}

template <std::size_t N>
void expect_nearest_seed_labelling(const std::array<MaskEntry, N>& mask, const char* type, std::int32_t d0,
                                   std::int32_t d1, std::int32_t d2, unsigned seed)
{
    std::mt19937 gen(seed);
    std::bernoulli_distribution inside(0.7);
    std::vector<double> img(static_cast<std::size_t>(d0) * d1 * d2);
    for (double& v : img) v = inside(gen) ? 1.0 + gen() % 5 : (gen() % 2 ? 0.0 : -2.0);
    img[3] = std::nan("");
    const std::int32_t dim[3] = {d0, d1, d2};
    std::vector<std::vector<double>> rows;
    std::vector<std::int32_t> voxels;
    for (int s = 0; s < 6; ++s) {
        const std::int32_t x = gen() % d0, y = gen() % d1, z = gen() % d2;
        rows.push_back({x + 1.0, y + 1.0, z + 1.0});
        voxels.push_back(x + d0 * (y + d1 * z));
    }
    const Maps maps = run(img, d0, d1, d2, rows, type);
    const std::vector<double> nearest = dijkstra(img, dim, voxels, mask);
    std::vector<std::vector<double>> from_seed;
    for (std::int32_t v : voxels) from_seed.push_back(dijkstra(img, dim, {v}, mask));
    for (std::size_t v = 0; v < img.size(); ++v) {
        bool is_seed = false;
        for (std::int32_t s : voxels) is_seed |= s == static_cast<std::int32_t>(v);
        if (!(img[v] > 0) && !is_seed) {
            ASSERT_EQ(maps.dists[v], -1) << v;
            ASSERT_EQ(maps.labels[v], -1) << v;
        } else if (nearest[v] == inf) {
            ASSERT_EQ(maps.dists[v], inf) << v;
            ASSERT_TRUE(std::isnan(maps.labels[v])) << v;
        } else {
            ASSERT_EQ(maps.dists[v], nearest[v]) << type << " voxel " << v;
            const int label = static_cast<int>(maps.labels[v]);
            ASSERT_TRUE(label >= 1 && label <= 6) << v;
            // The label names a seed at that very distance.
            ASSERT_EQ(from_seed[label - 1][v], nearest[v]) << type << " voxel " << v;
        }
    }
}

TEST(GeoParcels, DistancesAreShortestChamferPathsInsideTheMaskAndLabelsNameANearestSeed)
{
    expect_nearest_seed_labelling(nrx::detail::maskd4, "d4", 12, 10, 8, 1);
    expect_nearest_seed_labelling(nrx::detail::maskd8, "d8", 12, 10, 8, 2);
    expect_nearest_seed_labelling(nrx::detail::maskd34, "d34", 12, 10, 8, 3);
    expect_nearest_seed_labelling(nrx::detail::maskd5711, "d5711", 12, 10, 8, 4);
    expect_nearest_seed_labelling(nrx::detail::maskd34, "d34", 40, 30, 1, 5);
    expect_nearest_seed_labelling(nrx::detail::maskd4, "d4", 1, 1, 60, 6);
}

TEST(GeoParcels, D4AndD8FollowTheMaskAroundABend)
{
    const std::vector<double> img = picture({"#.#", "#.#", "###"});
    const Maps d4 = run(img, 3, 3, 1, {{1, 1, 1}}, "d4");
    EXPECT_EQ(d4.dists, (std::vector<double>{0, -1, 6, 1, -1, 5, 2, 3, 4}));
    EXPECT_EQ(d4.labels, (std::vector<double>{1, -1, 1, 1, -1, 1, 1, 1, 1}));
    const Maps d8 = run(img, 3, 3, 1, {{1, 1, 1}}, "d8");
    EXPECT_EQ(d8.dists, (std::vector<double>{0, -1, 4, 1, -1, 3, 2, 2, 3}));
}

TEST(GeoParcels, ChamferWeightsAroundOneSeed)
{
    const std::vector<double> cube3(27, 1.0);
    const Maps d34 = run(cube3, 3, 3, 3, {{2, 2, 2}}, "d34");
    for (int v = 0; v < 27; ++v) {
        const int off = (v % 3 != 1) + (v / 3 % 3 != 1) + (v / 9 != 1);
        EXPECT_EQ(d34.dists[v], off == 0 ? 0 : 2 + off) << v;
    }
    const std::vector<double> cube5(125, 1.0);
    const Maps d5711 = run(cube5, 5, 5, 5, {{3, 3, 3}}, "d5711");
    auto at = [&](int x, int y, int z) { return d5711.dists[(x + 2) + 5 * ((y + 2) + 5 * (z + 2))]; };
    EXPECT_EQ(at(1, 0, 0), 5);
    EXPECT_EQ(at(0, 0, -1), 5);
    EXPECT_EQ(at(1, 1, 0), 7);
    EXPECT_EQ(at(1, -1, 1), 9);
    EXPECT_EQ(at(2, 1, 0), 11);
    EXPECT_EQ(at(1, 2, -1), 12);
    EXPECT_EQ(at(-2, 2, 1), 15);
    EXPECT_EQ(at(2, 0, 0), 10);   // two face steps: (2,0,0) is not in the mask
    EXPECT_EQ(at(2, 2, 2), 18);   // two corner steps
    // Distances stay in the mask's units: a face step of d4 costs 1.
    EXPECT_EQ(run(cube3, 3, 3, 3, {{2, 2, 2}}, "d4").dists[0], 3);
}

TEST(GeoParcels, RegionsNoSeedReachesStayInfiniteAndNaN)
{
    // (0,0) and (1,1) touch only diagonally.
    const std::vector<double> img = picture({"#.", ".#"});
    const Maps d4 = run(img, 2, 2, 1, {{1, 1, 1}}, "d4");
    EXPECT_EQ(d4.dists, (std::vector<double>{0, -1, -1, inf}));
    EXPECT_TRUE(std::isnan(d4.labels[3]));
    EXPECT_EQ(run(img, 2, 2, 1, {{1, 1, 1}}, "d8").dists[3], 1);
    EXPECT_EQ(run(img, 2, 2, 1, {{1, 1, 1}}, "d34").dists[3], 4);
    // No seeds at all.
    const Maps none = run(img, 2, 2, 1, {}, "d34");
    EXPECT_EQ(none.dists, (std::vector<double>{inf, -1, -1, inf}));
    EXPECT_EQ(none.labels[1], -1);
    EXPECT_TRUE(std::isnan(none.labels[0]) && std::isnan(none.labels[3]));
}

TEST(GeoParcels, SeedOnAnOutsideVoxelSpreadsIntoTheInside)
{
    const std::vector<double> img = {0, 2, 3, -1, 5};
    const Maps maps = run(img, 5, 1, 1, {{1, 1, 1}}, "d4");
    EXPECT_EQ(maps.dists, (std::vector<double>{0, 1, 2, -1, inf}));
    EXPECT_EQ(maps.labels[0], 1);
    EXPECT_EQ(maps.labels[2], 1);
    EXPECT_EQ(maps.labels[3], -1);
}

TEST(GeoParcels, EqualDistancesKeepTheLabelOfTheFirstSource)
{
    // Seeds two voxels apart: the middle voxel goes to the seed listed first.
    const std::vector<double> line(3, 1.0);
    EXPECT_EQ(run(line, 3, 1, 1, {{1, 1, 1}, {3, 1, 1}}, "d4").labels, (std::vector<double>{1, 1, 2}));
    EXPECT_EQ(run(line, 3, 1, 1, {{3, 1, 1}, {1, 1, 1}}, "d4").labels, (std::vector<double>{2, 1, 1}));
    // A later seed on the same voxel takes over its number.
    EXPECT_EQ(run(line, 3, 1, 1, {{1, 1, 1}, {1.2, 1, 1}}, "d4").labels, (std::vector<double>{2, 2, 2}));

    // d34 on a 5 x 3 mask without (3,2). Voxel (2,1) is 7 from both seeds:
    // seed 2 at (0,0) reaches it from (1,0), taken from bucket 3 (3 + 4);
    // seed 1 at (4,2) only from (3,1), taken from bucket 4 (4 + 3). The
    // earlier bucket wins over the lower seed number.
    const std::vector<double> img = picture({"#####", "#####", "###.#"});
    const Maps maps = run(img, 5, 3, 1, {{5, 3, 1}, {1, 1, 1}}, "d34");
    EXPECT_EQ(maps.dists[2 + 5 * 1], 7);
    EXPECT_EQ(maps.labels[2 + 5 * 1], 2);
    EXPECT_EQ(maps.labels[3 + 5 * 1], 1);
}

TEST(GeoParcels, SeedsRoundHalfUpAndMustLieInTheImage)
{
    const std::vector<double> img(6, 1.0);  // 3 x 2 x 1
    // (0.5, 2.49, 1.4) is voxel (0, 1, 0).
    EXPECT_EQ(run(img, 3, 2, 1, {{0.5, 2.49, 1.4}}, "d4").dists, (std::vector<double>{1, 2, 3, 0, 1, 2}));
    EXPECT_EQ(run(img, 3, 2, 1, {{3.49, 0.5, 0.5}}, "d4").dists[2], 0);
    const double nan = std::nan("");
    for (const std::vector<double>& seed : std::vector<std::vector<double>>{
             {0.49, 1, 1}, {3.5, 1, 1}, {1, 2.5, 1}, {1, 1, 1.5}, {1, 1, 0}, {nan, 1, 1}, {1, inf, 1},
             {1, 1, -inf}, {1e10, 1, 1}, {-3e9, 1, 1}}) {
        const Maps maps = run(img, 3, 2, 1, {{1, 1, 1}, seed}, "d4", ParcelStatus::seed_outside_image);
        EXPECT_EQ(maps.dists[0], 0) << "the maps are initialised and earlier seeds placed";
        EXPECT_EQ(maps.dists[1], inf);
    }
}

TEST(GeoParcels, UnknownDistanceTypeWritesNothing)
{
    const std::vector<double> img(4, 1.0);
    for (const char* type : {"D34", "d34 ", "d3", "d", "", "d57", "d4\n", "euclidean"}) {
        const Maps maps = run(img, 2, 2, 1, {{9, 9, 9}}, type, ParcelStatus::unknown_distance_type);
        EXPECT_EQ(maps.dists, std::vector<double>(4, 7.0)) << type;
        EXPECT_EQ(maps.labels, std::vector<double>(4, 7.0)) << type;
    }
}

TEST(GeoParcels, ThirtyTwoAndSixtyFourBitDistancesGiveTheSameMaps)
{
    std::mt19937 gen(6);
    const std::int32_t d0 = 17, d1 = 13, d2 = 9;
    std::vector<double> img(d0 * d1 * d2);
    for (double& v : img) v = gen() % 4 ? 1.0 : 0.0;
    for (const char* type : {"d4", "d8", "d34", "d5711"}) {
        const nrx::detail::Mask mask = *nrx::detail::mask_named(type);
        for (std::int32_t n : {11, 12}) {
            std::vector<double> seeds(3 * n);
            for (std::int32_t s = 0; s < n; ++s) {
                seeds[s] = 1 + gen() % d0;
                seeds[s + n] = 1 + gen() % d1;
                seeds[s + 2 * n] = s == 11 ? d2 + 1 : 1 + gen() % d2;  // the twelfth lies outside
            }
            Maps narrow{std::vector<double>(img.size()), std::vector<double>(img.size())}, wide = narrow;
            const ParcelStatus status = nrx::detail::grow_parcels<std::int32_t>(
                img.data(), {d0, d1, d2}, seeds.data(), n, mask, narrow.labels.data(), narrow.dists.data());
            EXPECT_EQ(status, nrx::detail::grow_parcels<std::int64_t>(img.data(), {d0, d1, d2}, seeds.data(), n,
                                                                       mask, wide.labels.data(), wide.dists.data()));
            EXPECT_EQ(status, n == 12 ? ParcelStatus::seed_outside_image : ParcelStatus::done);
            EXPECT_EQ(narrow.dists, wide.dists) << type;
            for (std::size_t v = 0; v < img.size(); ++v) {
                EXPECT_TRUE(narrow.labels[v] == wide.labels[v] ||
                            (std::isnan(narrow.labels[v]) && std::isnan(wide.labels[v])));
            }
        }
    }
}

TEST(GeoParcels, EmptyImage)
{
    run({}, 0, 4, 1, {}, "d5711");
    run({}, 0, 4, 1, {{1, 1, 1}}, "d4", ParcelStatus::seed_outside_image);
}

}  // namespace
