#include "registration/mip_render.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/int32.hpp"

namespace nrx {

namespace {

constexpr std::int32_t int32_max = std::numeric_limits<std::int32_t>::max();

// An origin that is not a whole 32-bit number is placed here, so far out that
// no rectangle along its axis fits in any view. Positions are 64-bit, so
// adding a 32-bit coordinate to it cannot overflow.
constexpr std::int64_t origin_outside_every_view = std::int64_t{1} << 40;

constexpr std::int32_t fixed_rows = 360;
constexpr std::int32_t fixed_columns = 352;

// Pixels a point covers along one axis: trunc(|v| + 0.99). One beyond the
// 32-bit range, or NaN, becomes int32_max, wider than any view or matrix.
std::int64_t point_extent(double v) { return trunc_to_int32(std::fabs(v) + 0.99).value_or(int32_max); }

struct GeneralViews {
    std::optional<std::int32_t> extent[3];  // DX, DY, DZ
    std::int64_t origin[3];                 // CX, CY, CZ
};

GeneralViews general_views(const double* dxyz, const double* cxyz)
{
    const double built_in_extents[3] = {182, 218, 182};
    const double built_in_origins[3] = {89, 125, 71};
    if (dxyz == nullptr) dxyz = built_in_extents;
    if (cxyz == nullptr) cxyz = built_in_origins;
    GeneralViews views;
    for (int k = 0; k < 3; ++k) {
        views.extent[k] = trunc_to_int32(dxyz[k]);
        const std::optional<std::int32_t> origin = trunc_to_int32(cxyz[k]);
        views.origin[k] = origin ? *origin : origin_outside_every_view;
    }
    return views;
}

MipLayout choose_layout(MipSize size, const GeneralViews& views)
{
    const auto& [dx, dy, dz] = views.extent;
    if (dx && dy && dz && size.rows == std::int64_t{*dy} + *dx && size.columns == std::int64_t{*dz} + *dx) {
        return MipLayout::general;
    }
    if (size.rows == fixed_rows && size.columns == fixed_columns) {
        return MipLayout::fixed;
    }
    return MipLayout::none;
}

// Pixels begin .. end-1 along one side of the matrix.
struct Span {
    std::int64_t begin;
    std::int64_t end;

    // The run of 2*half+1 pixels centred on `centre` lies wholly inside.
    bool holds(std::int64_t centre, std::int64_t half) const
    {
        return centre - half >= begin && centre + half < end;
    }
};

// One side of a view: `extent` pixels from `first`, as far as they lie
// within the matrix side of `size` pixels. With DX, DY, DZ not negative the
// views lie inside the matrix and nothing is cut; a negative one leaves a
// view empty and can push another past the matrix's edge.
Span view_side(std::int64_t first, std::int64_t extent, std::int32_t size)
{
    return {std::max<std::int64_t>(first, 0), std::min<std::int64_t>(first + extent, size)};
}

// Every pixel of the rectangle centred on (row, column), half-widths
// row_half and column_half, takes v where v is greater.
void draw_max(double* mip, std::int32_t rows, std::int64_t row, std::int64_t row_half, std::int64_t column,
              std::int64_t column_half, double v)
{
    for (std::int64_t c = column - column_half; c <= column + column_half; ++c) {
        double* pixels = mip + rows * c;
        for (std::int64_t r = row - row_half; r <= row + row_half; ++r) {
            if (v > pixels[r]) pixels[r] = v;
        }
    }
}

void draw_general(const MipPoints& points, const std::int64_t extent[3], const GeneralViews& views, MipSize size,
                  double* mip)
{
    const std::int64_t hx = extent[0] / 2, hy = extent[1] / 2, hz = extent[2] / 2;
    const std::int64_t dx = *views.extent[0], dy = *views.extent[1], dz = *views.extent[2];
    const auto& [cx, cy, cz] = views.origin;
    const Span y_rows = view_side(0, dy, size.rows);         // views 1 and 2
    const Span x_columns = view_side(0, dx, size.columns);   // view 1
    const Span z_columns = view_side(dx, dz, size.columns);  // views 2 and 3
    const Span x_rows = view_side(dy, dx, size.rows);        // view 3
    for (std::int32_t i = 0; i < points.count; ++i) {
        const double v = points.values[i];
        const double* location = points.locations + 3 * std::int64_t{i};
        const auto rx = trunc_to_int32(std::floor(location[0] + 0.5));
        const auto ry = trunc_to_int32(std::floor(location[1] + 0.5));
        const auto rz = trunc_to_int32(std::floor(location[2] + 0.5));
        if (!rx || !ry || !rz) continue;
        const std::int64_t row_y = cy + *ry;
        const std::int64_t column_x = cx - *rx;  // mirrored: a larger x is further left
        const std::int64_t column_z = dx + cz + *rz;
        const std::int64_t row_x = dy + cx + *rx;

        if (x_columns.holds(column_x, hx) && y_rows.holds(row_y, hy)) {
            draw_max(mip, size.rows, row_y, hy, column_x, hx, v);
        }
        if (z_columns.holds(column_z, hz) && y_rows.holds(row_y, hy)) {
            draw_max(mip, size.rows, row_y, hy, column_z, hz, v);
        }
        if (z_columns.holds(column_z, hz) && x_rows.holds(row_x, hx)) {
            draw_max(mip, size.rows, row_x, hx, column_z, hz, v);
        }
    }
}

// One view of the fixed layout: the rectangle of `height` x `width` pixels
// from (row, column) is set to the larger of v and the pixel at
// (compared_row, compared_column), when both lie inside the matrix.
void overwrite_fixed(double* mip, std::int64_t row, std::int64_t height, std::int64_t column, std::int64_t width,
                     std::int64_t compared_row, std::int64_t compared_column, double v)
{
    if (row < 0 || row + height > fixed_rows || column < 0 || column + width > fixed_columns) return;
    if (compared_row < 0 || compared_row >= fixed_rows || compared_column < 0 ||
        compared_column >= fixed_columns) {
        return;
    }
    const double m = mip[compared_row + fixed_rows * compared_column];
    const double q = v > m ? v : m;
    for (std::int64_t c = column; c < column + width; ++c) {
        for (std::int64_t r = row; r < row + height; ++r) {
            mip[r + fixed_rows * c] = q;
        }
    }
}

void draw_fixed(const MipPoints& points, const std::int64_t extent[3], double* mip)
{
    const std::int64_t sx = extent[0], sy = extent[1], sz = extent[2];
    for (std::int32_t i = 0; i < points.count; ++i) {
        const double v = points.values[i];
        const double* location = points.locations + 3 * std::int64_t{i};
        const auto tx = trunc_to_int32(location[0]);
        const auto ty = trunc_to_int32(location[1]);
        const auto tz = trunc_to_int32(location[2]);
        if (!tx || !ty || !tz) continue;
        const std::int64_t x = *tx, y = *ty, z = *tz;

        overwrite_fixed(mip, 124 + y, sy, 104 - x, sx, 124 + y, 104 - x, v);
        overwrite_fixed(mip, 124 + y, sy, 238 + z, sz, 124 + y, 240 + z, v);
        overwrite_fixed(mip, 276 + x, sx, 238 + z, sz, 276 + x, 240 + z, v);
    }
}

}  // namespace

std::optional<MipSize> mip_matrix_size(const double dims[5])
{
    const auto rows = trunc_to_int32(dims[3]);
    const auto columns = trunc_to_int32(dims[4]);
    if (!rows || !columns || *rows < 0 || *columns < 0 || std::int64_t{*rows} * *columns > int32_max) {
        return std::nullopt;
    }
    return MipSize{*rows, *columns};
}

MipLayout render_mip(const MipPoints& points, const double dims[5], const double* dxyz, const double* cxyz,
                     MipSize size, double* mip)
{
    std::fill(mip, mip + std::int64_t{size.rows} * size.columns, 0.0);
    const std::int64_t extent[3] = {point_extent(dims[0]), point_extent(dims[1]), point_extent(dims[2])};
    const GeneralViews views = general_views(dxyz, cxyz);
    const MipLayout layout = choose_layout(size, views);
    if (layout == MipLayout::general) {
        draw_general(points, extent, views, size, mip);
    } else if (layout == MipLayout::fixed) {
        draw_fixed(points, extent, mip);
    }
    return layout;
}

}  // namespace nrx
