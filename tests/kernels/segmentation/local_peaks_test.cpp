#include "segmentation/local_peaks.hpp"
#include "segmentation/local_peaks_list.hpp"

#include <gtest/gtest.h>
#include <omp.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

using namespace nrx::local_peaks;

const double nan = std::numeric_limits<double>::quiet_NaN();

// Maxima of the listed one-based voxels, as find_local_peaks gives them.
std::vector<std::uint32_t> maxima_of(const std::vector<double>& vol, std::int32_t d0, std::int32_t d1,
                                     std::int32_t d2, const std::vector<double>& coords, int conn = 18)
{
    std::vector<std::uint32_t> maxima = {99};  // replaced, not appended to
    const std::int32_t m = nrx::find_local_peaks(vol.data(), {d0, d1, d2}, coords.data(),
                                                 static_cast<std::int32_t>(coords.size() / 3), conn, maxima);
    EXPECT_EQ(m, static_cast<std::int32_t>(maxima.size()));
    return maxima;
}

TEST(LocalPeaks, CoordinatesAddOneTenthAndTruncate)
{
    EXPECT_EQ(list_coordinate(2.9), 3);
    EXPECT_EQ(list_coordinate(2.95), 3);
    EXPECT_EQ(list_coordinate(2.89), 2);
    EXPECT_EQ(list_coordinate(0.95), 1);
    EXPECT_EQ(list_coordinate(0.85), 0);
    EXPECT_EQ(list_coordinate(-0.05), 0);
    EXPECT_EQ(list_coordinate(-2.5), -2);
    EXPECT_EQ(list_coordinate(2147483647.0), 2147483647);
    EXPECT_FALSE(list_coordinate(2147483648.0));
    EXPECT_FALSE(list_coordinate(-3e9));
    EXPECT_FALSE(list_coordinate(nan));
    EXPECT_FALSE(list_coordinate(std::numeric_limits<double>::infinity()));
}

// Every voxel of a 3x3x3 volume, numbered 1..27 in storage order.
std::vector<double> whole_cube()
{
    std::vector<double> coords;
    for (int z = 1; z <= 3; ++z)
        for (int y = 1; y <= 3; ++y)
            for (int x = 1; x <= 3; ++x) coords.insert(coords.end(), {double(x), double(y), double(z)});
    return coords;
}

TEST(LocalPeaks, StrictPeakAndTheNeighbourhoodsOfEachConnectivity)
{
    std::vector<double> vol(27, 1.0);
    vol[13] = 5.0;  // the centre
    // The centre touches the 8 corner voxels only at a corner: with 18
    // neighbours they stay maxima, with 26 only the centre is one.
    EXPECT_EQ(maxima_of(vol, 3, 3, 3, whole_cube()), (std::vector<std::uint32_t>{1, 3, 7, 9, 14, 19, 21, 25, 27}));
    EXPECT_EQ(maxima_of(vol, 3, 3, 3, whole_cube(), 26), (std::vector<std::uint32_t>{14}));
    // Only the centre listed, among neighbours that are not.
    EXPECT_EQ(maxima_of(vol, 3, 3, 3, {2, 2, 1, 2, 2, 2, 2, 1, 2}), (std::vector<std::uint32_t>{2}));
}

TEST(LocalPeaks, FirstVoxelIsAnOrdinaryVoxel)
{
    std::vector<double> vol(27, 1.0);
    vol[0] = 4.0;
    // (1,1,1) is a maximum and disqualifies its 3 face and 3 edge neighbours
    // (numbers 2, 4, 10 and 5, 11, 13), not the corner (2,2,2), number 14.
    auto all_but = [](std::vector<std::uint32_t> left_out) {
        std::vector<std::uint32_t> numbers;
        for (std::uint32_t v = 1; v <= 27; ++v)
            if (std::find(left_out.begin(), left_out.end(), v) == left_out.end()) numbers.push_back(v);
        return numbers;
    };
    EXPECT_EQ(maxima_of(vol, 3, 3, 3, whole_cube()), all_but({2, 4, 10, 5, 11, 13}));
    // With faces only, the edge neighbours are maxima again.
    EXPECT_EQ(maxima_of(vol, 3, 3, 3, whole_cube(), 6), all_but({2, 4, 10}));
}

TEST(LocalPeaks, PlateausBordersAndNaN)
{
    // A 4 x 3 map (rows are y): a plateau of two 7s on the border, a NaN.
    const std::vector<double> vol = {1,   7, 7, 2,
                                     0,   1, 1, 5,
                                     nan, 2, 0, 3};
    std::vector<double> coords;
    for (const auto& xy : std::vector<std::pair<double, double>>{{2, 1}, {3, 1}, {4, 2}, {1, 3}, {2, 3}, {1, 1}, {4, 3}})
        coords.insert(coords.end(), {xy.first, xy.second, 1});
    // Both 7s; not the 5 beside a 7; the NaN itself; the 2 next to the NaN;
    // not the 1 or the 3 that have greater neighbours.
    EXPECT_EQ(maxima_of(vol, 4, 3, 1, coords), (std::vector<std::uint32_t>{1, 2, 4, 5}));
    // The same voxel listed twice is returned twice.
    EXPECT_EQ(maxima_of(vol, 4, 3, 1, {2, 1, 1, 2, 1, 1}), (std::vector<std::uint32_t>{1, 2}));
}

TEST(LocalPeaks, CandidatesOutsideTheVolumeAreLeftOut)
{
    const std::vector<double> vol(8, 2.0);  // 2 x 2 x 2, all maxima
    const std::vector<double> coords = {1, 1, 1,  0.85, 1, 1,  0.9, 1, 1,  2.89, 2, 2,  3, 1, 1,
                                        1, 1, -1,  nan, 1, 1,  1, 1e12, 1,  1, 1, 1};
    EXPECT_EQ(maxima_of(vol, 2, 2, 2, coords), (std::vector<std::uint32_t>{1, 3, 4, 9}));
    EXPECT_EQ(maxima_of(vol, 2, 2, 2, {}), (std::vector<std::uint32_t>{}));
}

TEST(LocalPeaks, MoreThanAThousandMaximaAllReturnedInOrder)
{
    const std::vector<double> vol(50 * 60, 1.0);
    std::vector<double> coords;
    std::vector<std::uint32_t> expected;
    for (int i = 0; i < 2600; ++i) {
        coords.insert(coords.end(), {double(i % 50 + 1), double(i / 50 + 1), 1});
        expected.push_back(i + 1);
    }
    EXPECT_EQ(maxima_of(vol, 50, 60, 1, coords), expected);
}

// The maxima among one-based coordinates found by looking at every voxel of
// the 3 x 3 x 3 block but its corners.
std::vector<std::uint32_t> eighteen_neighbour_search(const std::vector<double>& vol, int d0, int d1, int d2,
                                                     const std::vector<double>& coords)
{
    std::vector<std::uint32_t> expected;
    for (std::size_t number = 1; number <= coords.size() / 3; ++number) {
        const int x = list_coordinate(coords[3 * number - 3]).value_or(-1);
        const int y = list_coordinate(coords[3 * number - 2]).value_or(-1);
        const int z = list_coordinate(coords[3 * number - 1]).value_or(-1);
        if (x < 1 || x > d0 || y < 1 || y > d1 || z < 1 || z > d2) continue;
        const double f = vol[(x - 1) + d0 * ((y - 1) + d1 * (z - 1))];
        bool greater = false;
        for (int dz = -1; dz <= 1; ++dz)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy, nz = z + dz;
                    if (std::abs(dx) + std::abs(dy) + std::abs(dz) == 3) continue;
                    if (nx < 1 || nx > d0 || ny < 1 || ny > d1 || nz < 1 || nz > d2) continue;
                    greater |= vol[(nx - 1) + d0 * ((ny - 1) + d1 * (nz - 1))] > f;
                }
        if (!greater) expected.push_back(static_cast<std::uint32_t>(number));
    }
    return expected;
}

TEST(LocalPeaks, MatchesAnEighteenNeighbourSearchOnRandomVolumes)
{
    std::mt19937 gen(9);
    const int d0 = 7, d1 = 6, d2 = 5;
    std::vector<double> vol(d0 * d1 * d2);
    for (double& v : vol) v = gen() % 4;  // small values: many plateaus
    vol[17] = nan;
    std::vector<double> coords;
    for (int z = 0; z <= d2 + 1; ++z)
        for (int y = 0; y <= d1 + 1; ++y)
            for (int x = 0; x <= d0 + 1; ++x) coords.insert(coords.end(), {x - 0.05, y + 0.04, z + 0.0});
    const std::vector<std::uint32_t> expected = eighteen_neighbour_search(vol, d0, d1, d2, coords);
    EXPECT_EQ(maxima_of(vol, d0, d1, d2, coords), expected);
}

TEST(LocalPeaks, ManyCandidatesGiveTheSameListAtAnyThreadCount)
{
    // More candidates than one piece of work, in no particular order; on a
    // flat volume every candidate inside is a maximum, so none may go missing.
    std::mt19937 gen(2);
    const int d0 = 23, d1 = 17, d2 = 11;
    std::vector<double> coords;
    for (int i = 0; i < 3 * 10001; ++i) coords.push_back(static_cast<double>(gen() % (d0 + 2)));
    std::vector<double> bumpy(d0 * d1 * d2), flat(d0 * d1 * d2, 1.0);
    for (double& v : bumpy) v = gen() % 3;
    for (const std::vector<double>* vol : {&bumpy, &flat}) {
        const std::vector<std::uint32_t> expected = eighteen_neighbour_search(*vol, d0, d1, d2, coords);
        for (int threads : {1, 3}) {
            omp_set_num_threads(threads);
            EXPECT_EQ(maxima_of(*vol, d0, d1, d2, coords), expected) << threads << " threads";
        }
    }
}

TEST(LocalPeaks, ListHelpers)
{
    const double xy[4] = {1.5, 2.5, 3.5, 4.5};
    EXPECT_EQ(with_unit_z(xy, 2), (std::vector<double>{1.5, 2.5, 1, 3.5, 4.5, 1}));
    EXPECT_TRUE(with_unit_z(xy, 0).empty());
    const std::vector<double> in_plane = {9, 9, 0.95, 9, 9, 1.05, 9, 9, 1.89};
    EXPECT_TRUE(all_in_first_plane(in_plane.data(), 3));
    for (double z : {1.9, 0.5, nan, -1.0, 1e300}) {
        const std::vector<double> off = {1, 1, 1, 1, 1, z};
        EXPECT_FALSE(all_in_first_plane(off.data(), 2)) << z;
    }
    EXPECT_TRUE(all_in_first_plane(nullptr, 0));
}

}  // namespace
