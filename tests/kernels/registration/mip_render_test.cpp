#include "registration/mip_render.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

namespace {

using Pixel = std::tuple<int, int, double>;  // row, column, value

const double nan = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();

struct Render {
    std::vector<double> mip;
    nrx::MipLayout layout;
};

// Draws points (value, x, y, z) with extents vx, vy, vz into a new
// rows x columns matrix.
Render render(const std::vector<std::array<double, 4>>& points, const double extents[3], int rows, int columns,
              const double* dxyz = nullptr, const double* cxyz = nullptr)
{
    std::vector<double> values, locations;
    for (const auto& p : points) {
        values.push_back(p[0]);
        locations.insert(locations.end(), {p[1], p[2], p[3]});
    }
    const double dims[5] = {extents[0], extents[1], extents[2], static_cast<double>(rows),
                            static_cast<double>(columns)};
    // NaN everywhere: the kernel clears the matrix itself.
    Render result{std::vector<double>(static_cast<std::size_t>(rows) * columns, nan), nrx::MipLayout::none};
    const nrx::MipPoints mip_points{values.data(), locations.data(), static_cast<std::int32_t>(values.size())};
    result.layout = nrx::render_mip(mip_points, dims, dxyz, cxyz, nrx::MipSize{rows, columns}, result.mip.data());
    return result;
}

// The non-zero pixels, column by column.
std::vector<Pixel> drawn(const std::vector<double>& mip, int rows)
{
    std::vector<Pixel> pixels;
    for (std::size_t e = 0; e < mip.size(); ++e) {
        if (mip[e] != 0.0) pixels.emplace_back(static_cast<int>(e % rows), static_cast<int>(e / rows), mip[e]);
    }
    return pixels;
}

// The pixels of a rows x columns block from (row, column), all holding v.
std::vector<Pixel> block(int row, int column, int height, int width, double v)
{
    std::vector<Pixel> pixels;
    for (int c = column; c < column + width; ++c)
        for (int r = row; r < row + height; ++r) pixels.emplace_back(r, c, v);
    return pixels;
}

std::vector<Pixel> join(std::vector<std::vector<Pixel>> parts)
{
    std::vector<Pixel> all;
    for (auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    std::sort(all.begin(), all.end(), [](const Pixel& a, const Pixel& b) {
        return std::tie(std::get<1>(a), std::get<0>(a)) < std::tie(std::get<1>(b), std::get<0>(b));
    });
    return all;
}

const double unit[3] = {1, 1, 1};

// General layout with the built-in views: 400 x 364, DX = 182, DY = 218,
// DZ = 182, origin (89, 125, 71).

TEST(MipGeneral, OriginPointLandsAtTheBuiltInOriginOfEachView)
{
    const Render r = render({{5, 0, 0, 0}}, unit, 400, 364);
    EXPECT_EQ(r.layout, nrx::MipLayout::general);
    EXPECT_EQ(drawn(r.mip, 400), (std::vector<Pixel>{{125, 89, 5}, {125, 253, 5}, {307, 253, 5}}));
}

TEST(MipGeneral, XIsMirroredInViewOneAndRowsOfViewThree)
{
    // x = 10: column CX - 10 in view 1, row DY + CX + 10 in view 3.
    const Render r = render({{5, 10, 0, 0}}, unit, 400, 364);
    EXPECT_EQ(drawn(r.mip, 400), (std::vector<Pixel>{{125, 79, 5}, {125, 253, 5}, {317, 253, 5}}));
}

TEST(MipGeneral, CoordinatesRoundHalfUpAndExtentsGiveOddCentredRuns)
{
    // y = 2.5 rounds to 3, z = -2.5 to -2; extents 2.005, 2.5, 0 cover
    // 3 (sx = 2), 3 (sy = 3) and 1 (sz = 0) pixels.
    const double extents[3] = {2.005, 2.5, 0};
    const Render r = render({{4, 0, 2.5, -2.5}}, extents, 400, 364);
    EXPECT_EQ(drawn(r.mip, 400),
              join({block(127, 88, 3, 3, 4), block(127, 251, 3, 1, 4), block(306, 251, 3, 1, 4)}));
    const double four[3] = {4, 4, 4};
    EXPECT_EQ(drawn(render({{1, 0, 0, 0}}, four, 400, 364).mip, 400),
              join({block(123, 87, 5, 5, 1), block(123, 251, 5, 5, 1), block(305, 251, 5, 5, 1)}));
}

TEST(MipGeneral, RectangleLeavingAViewIsLeftOutOfThatViewOnly)
{
    // sx = 3 (three pixels) at x = 89: view 1's columns would be -1 .. 1, so
    // the point shows in views 2 and 3 only (view 3: rows 218 + 178 +- 1).
    const double extents[3] = {3, 1, 1};
    EXPECT_EQ(drawn(render({{6, 89, 0, 0}}, extents, 400, 364).mip, 400),
              join({block(125, 253, 1, 1, 6), block(395, 253, 3, 1, 6)}));
    // x = -91 reaches column 181, view 1's last; x = -92 would reach 182.
    EXPECT_EQ(render({{6, -91, 0, 0}}, extents, 400, 364).mip[125 + 400 * 181], 6);
    EXPECT_EQ(drawn(render({{6, -92, 0, 0}}, extents, 400, 364).mip, 400), (std::vector<Pixel>{{125, 253, 6}}));
    // y = 92 reaches row 217, the last of views 1 and 2; y = 93 leaves both
    // and the point shows in view 3 alone.
    EXPECT_EQ(drawn(render({{6, 0, 92, 0}}, unit, 400, 364).mip, 400),
              (std::vector<Pixel>{{217, 89, 6}, {217, 253, 6}, {307, 253, 6}}));
    EXPECT_EQ(drawn(render({{6, 0, 93, 0}}, unit, 400, 364).mip, 400), (std::vector<Pixel>{{307, 253, 6}}));
}

TEST(MipGeneral, PixelsKeepTheLargestValueWhateverTheOrder)
{
    const Render up = render({{2, 0, 0, 0}, {7, 0, 0, 0}}, unit, 400, 364);
    const Render down = render({{7, 0, 0, 0}, {2, 0, 0, 0}}, unit, 400, 364);
    EXPECT_EQ(up.mip, down.mip);
    EXPECT_EQ(up.mip[125 + 400 * 89], 7);
    // Zero, negative and NaN values are never greater than a pixel's zero;
    // nor is -0, which leaves the pixel's sign alone.
    const Render none = render({{0, 0, 0, 0}, {-3, 1, 1, 1}, {nan, 2, 2, 2}, {-0.0, 0, 0, 0}}, unit, 400, 364);
    EXPECT_TRUE(drawn(none.mip, 400).empty());
    EXPECT_FALSE(std::signbit(none.mip[125 + 400 * 89]));
}

// Fixed layout: 360 x 352.

TEST(MipFixed, RectanglesStartAtTheirPlacesWithTruncatedCoordinates)
{
    // x = 2.5 and z = -2.5 truncate to 2 and -2; extents sx = 2, sy = 1,
    // sz = 3 from the first pixel on.
    const double extents[3] = {2, 1, 3};
    const Render r = render({{5, 2.5, 0.9, -2.5}}, extents, 360, 352);
    EXPECT_EQ(r.layout, nrx::MipLayout::fixed);
    EXPECT_EQ(drawn(r.mip, 360), join({block(124, 102, 1, 2, 5), block(124, 236, 1, 3, 5), block(278, 236, 2, 3, 5)}));
}

TEST(MipFixed, ViewsTwoAndThreeCompareThePixelTwoColumnsRight)
{
    const double extents[3] = {1, 1, 1};
    // The first point draws 5 at column 240 (z = 2); the second, at z = 0,
    // draws column 238 but compares column 240: its rectangle takes 5.
    const Render r = render({{5, 0, 0, 2}, {1, 0, 0, 0}}, extents, 360, 352);
    EXPECT_EQ(r.mip[124 + 360 * 238], 5);
    EXPECT_EQ(r.mip[276 + 360 * 238], 5);
    // View 1 compares its own first pixel, which holds 5: it stays 5.
    EXPECT_EQ(r.mip[124 + 360 * 104], 5);
}

TEST(MipFixed, LaterPointOverwritesItsRectangleSoOrderMatters)
{
    // The first point's 9 covers columns 104 .. 105; the second (x = 1)
    // covers 103 .. 104 and compares column 103, which is 0: 3 overwrites
    // the 9 at column 104. In the other order the 9 wins there.
    const double extents[3] = {2, 1, 0};
    const Render a = render({{9, 0, 0, 0}, {3, 1, 0, 0}}, extents, 360, 352);
    const Render b = render({{3, 1, 0, 0}, {9, 0, 0, 0}}, extents, 360, 352);
    EXPECT_EQ(a.mip[124 + 360 * 104], 3);
    EXPECT_EQ(b.mip[124 + 360 * 104], 9);
    // A NaN value sets the rectangle to the compared pixel's value.
    const Render c = render({{9, 0, 0, 0}, {nan, 0, 0, 0}, {nan, 1, 0, 0}}, extents, 360, 352);
    EXPECT_EQ(c.mip[124 + 360 * 104], 0);
    EXPECT_EQ(c.mip[124 + 360 * 105], 9);
    // -0 is not greater than the compared 0: the rectangle takes +0.
    const Render d = render({{-0.0, 0, 0, 0}}, extents, 360, 352);
    EXPECT_FALSE(std::signbit(d.mip[124 + 360 * 104]));
}

TEST(MipFixed, ZeroExtentDrawsNothingInTheViewsThatUseIt)
{
    const double extents[3] = {0, 1, 1};
    EXPECT_EQ(drawn(render({{5, 0, 0, 0}}, extents, 360, 352).mip, 360), (std::vector<Pixel>{{124, 238, 5}}));
}

TEST(MipFixed, RectangleOrComparedPixelLeavingTheMatrixIsLeftOut)
{
    const double extents[3] = {1, 1, 1};
    // View 3's rows: x = 83 reaches row 359, x = 84 would be row 360.
    EXPECT_EQ(render({{5, 83, 0, 0}}, extents, 360, 352).mip[359 + 360 * 238], 5);
    EXPECT_EQ(drawn(render({{5, 84, 0, 0}}, extents, 360, 352).mip, 360),
              (std::vector<Pixel>{{124, 20, 5}, {124, 238, 5}}));
    // Views 2 and 3 compare column 240 + z: z = 111 compares column 351,
    // z = 112 column 352, outside, although its rectangle (column 350) fits.
    EXPECT_EQ(drawn(render({{5, 0, 0, 111}}, extents, 360, 352).mip, 360),
              (std::vector<Pixel>{{124, 104, 5}, {124, 349, 5}, {276, 349, 5}}));
    EXPECT_EQ(drawn(render({{5, 0, 0, 112}}, extents, 360, 352).mip, 360), (std::vector<Pixel>{{124, 104, 5}}));
    // Negative places: y = -125 puts views 1 and 2 at row -1; x = 105 puts
    // view 1 at column -1. A rectangle wider than the matrix never fits.
    EXPECT_EQ(drawn(render({{5, 0, -125, 0}}, extents, 360, 352).mip, 360), (std::vector<Pixel>{{276, 238, 5}}));
    EXPECT_EQ(drawn(render({{5, 105, 0, 0}}, extents, 360, 352).mip, 360), (std::vector<Pixel>{{124, 238, 5}}));
    const double wide[3] = {400, 1, 1};
    EXPECT_EQ(drawn(render({{5, 0, 0, 0}}, wide, 360, 352).mip, 360), (std::vector<Pixel>{{124, 238, 5}}));
}

// Layout choice and values outside the 32-bit range.

TEST(MipLayout, ChosenBySizeGeneralFirst)
{
    const double fits_fixed_size[3] = {152, 208, 200};  // 208 + 152 = 360, 200 + 152 = 352
    const double other[3] = {10, 10, 10};
    const double negative[3] = {-8, 368, 360};  // 368 - 8 = 360, 360 - 8 = 352
    const double not_a_number[3] = {nan, 10, 10};
    EXPECT_EQ(render({}, unit, 360, 352, fits_fixed_size, unit).layout, nrx::MipLayout::general);
    EXPECT_EQ(render({}, unit, 360, 352, other, unit).layout, nrx::MipLayout::fixed);
    EXPECT_EQ(render({}, unit, 360, 352).layout, nrx::MipLayout::fixed);
    EXPECT_EQ(render({}, unit, 360, 352, negative, unit).layout, nrx::MipLayout::general);
    EXPECT_EQ(render({}, unit, 400, 365).layout, nrx::MipLayout::none);
    EXPECT_EQ(render({}, unit, 20, 20, other, unit).layout, nrx::MipLayout::general);
    EXPECT_EQ(render({}, unit, 20, 20, not_a_number, unit).layout, nrx::MipLayout::none);
    const double negative_small[3] = {-1, 3, 3};
    EXPECT_EQ(render({}, unit, 2, 2, negative_small, unit).layout, nrx::MipLayout::general);
    EXPECT_EQ(render({}, unit, 2, 3, negative_small, unit).layout, nrx::MipLayout::none);
}

TEST(MipLayout, NegativeViewExtentEmptiesViewsAndKeepsTheRestInsideTheMatrix)
{
    // DX = -8: view 1 (columns 0 .. -9) and view 3 (rows 368 .. 359) are
    // empty; view 2 would span rows 0 .. 367 and columns -8 .. 351, and only
    // its part inside the 360 x 352 matrix takes rectangles.
    const double dxyz[3] = {-8, 368, 360}, origin[3] = {0, 0, 0};
    auto view_2 = [&](double y, double z) {
        return drawn(render({{5, 0, y, z}}, unit, 360, 352, dxyz, origin).mip, 360);
    };
    EXPECT_EQ(view_2(5, 10), (std::vector<Pixel>{{5, 2, 5}}));
    EXPECT_EQ(view_2(359, 359), (std::vector<Pixel>{{359, 351, 5}}));
    EXPECT_TRUE(view_2(360, 10).empty());
    EXPECT_TRUE(view_2(5, 7).empty());
    EXPECT_TRUE(view_2(5, 360).empty());
    const double three[3] = {3, 3, 3};
    EXPECT_TRUE(drawn(render({{5, 0, 5, 8}}, three, 360, 352, dxyz, origin).mip, 360).empty());
    EXPECT_EQ(drawn(render({{5, 0, 5, 9}}, three, 360, 352, dxyz, origin).mip, 360), join({block(4, 0, 3, 3, 5)}));
}

TEST(MipLayout, MatrixSizeIsTruncatedAndMustFit32Bits)
{
    auto size = [](double rows, double columns) {
        const double dims[5] = {1, 1, 1, rows, columns};
        return nrx::mip_matrix_size(dims);
    };
    ASSERT_TRUE(size(400.9, 364.2));
    EXPECT_EQ(size(400.9, 364.2)->rows, 400);
    EXPECT_EQ(size(400.9, 364.2)->columns, 364);
    EXPECT_EQ(size(-0.5, 3)->rows, 0);
    EXPECT_FALSE(size(-1, 364));
    EXPECT_FALSE(size(400, nan));
    EXPECT_FALSE(size(inf, 364));
    EXPECT_FALSE(size(3e9, 0));
    EXPECT_FALSE(size(65536, 32768));  // 2^31 pixels
    EXPECT_TRUE(size(65535, 32768));
}

TEST(MipLayout, PointsAndOriginsOutsideThe32BitRangePlaceNothing)
{
    for (int layout = 0; layout < 2; ++layout) {
        const int rows = layout == 0 ? 400 : 360, columns = layout == 0 ? 364 : 352;
        // Non-finite or huge coordinates skip the whole point.
        for (double bad : {nan, inf, -inf, 3e9, -3e9}) {
            for (int axis = 1; axis <= 3; ++axis) {
                std::array<double, 4> point = {5, 0, 0, 0};
                point[axis] = bad;
                EXPECT_TRUE(drawn(render({point}, unit, rows, columns).mip, rows).empty())
                    << "layout " << layout << " axis " << axis << " at " << bad;
            }
        }
        // A huge or NaN extent fits no view that uses its axis.
        const double huge_x[3] = {1e12, 1, 1}, nan_x[3] = {nan, 1, 1};
        EXPECT_EQ(drawn(render({{5, 0, 0, 0}}, huge_x, rows, columns).mip, rows).size(), 1u);
        EXPECT_EQ(drawn(render({{5, 0, 0, 0}}, nan_x, rows, columns).mip, rows).size(), 1u);
    }
    // A non-finite origin along x places nothing in views 1 and 3.
    const double dxyz[3] = {182, 218, 182}, cxyz[3] = {nan, 125, 71};
    EXPECT_EQ(drawn(render({{5, 0, 0, 0}}, unit, 400, 364, dxyz, cxyz).mip, 400),
              (std::vector<Pixel>{{125, 253, 5}}));
    const double far_origin[3] = {89, 125, 3e10};
    EXPECT_EQ(drawn(render({{5, 0, 0, 0}}, unit, 400, 364, dxyz, far_origin).mip, 400),
              (std::vector<Pixel>{{125, 89, 5}}));
}

}  // namespace
