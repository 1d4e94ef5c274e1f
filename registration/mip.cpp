#include "registration/mip.hpp"

#include <cmath>
#include <limits>

#include "host/int32.hpp"

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
    if (dx && dy && dz && *dx >= 0 && *dy >= 0 && *dz >= 0 &&
        size.rows == std::int64_t{*dy} + *dx && size.columns == std::int64_t{*dz} + *dx) {
        return MipLayout::general;
    }
    if (size.rows == fixed_rows && size.columns == fixed_columns) {
        return MipLayout::fixed;
    }
    return MipLayout::none;
}

// A centred run of 2*half+1 pixels lies inside [0, extent).
bool fits(std::int64_t centre, std::int64_t half, std::int64_t extent)
{
    return centre - half >= 0 && centre + half < extent;
}

// Every pixel of rows first_row .. last_row and columns first_column ..
// last_column takes v where v is greater.
void draw_max(double* mip, std::int32_t rows, std::int64_t first_row, std::int64_t last_row,
              std::int64_t first_column, std::int64_t last_column, double v)
{
    for (std::int64_t c = first_column; c <= last_column; ++c) {
        double* column = mip + rows * c;
        for (std::int64_t r = first_row; r <= last_row; ++r) {
            if (v > column[r]) column[r] = v;
        }
    }
}

void draw_general(const MipPoints& points, const std::int64_t extent[3], const GeneralViews& views,
                  std::int32_t rows, double* mip)
{
    const std::int64_t hx = extent[0] / 2, hy = extent[1] / 2, hz = extent[2] / 2;
    const std::int64_t dx = *views.extent[0], dy = *views.extent[1], dz = *views.extent[2];
    const auto& [cx, cy, cz] = views.origin;
    for (std::int32_t i = 0; i < points.count; ++i) {
        const double v = points.values[i];
        const double* location = points.locations + 3 * std::int64_t{i};
        const auto rx = trunc_to_int32(std::floor(location[0] + 0.5));
        const auto ry = trunc_to_int32(std::floor(location[1] + 0.5));
        const auto rz = trunc_to_int32(std::floor(location[2] + 0.5));
        if (!rx || !ry || !rz) continue;
        const std::int64_t px = cx + *rx, py = cy + *ry, pz = cz + *rz;
        const std::int64_t mirrored_x = cx - *rx;

        if (fits(mirrored_x, hx, dx) && fits(py, hy, dy)) {
            draw_max(mip, rows, py - hy, py + hy, mirrored_x - hx, mirrored_x + hx, v);
        }
        if (fits(pz, hz, dz) && fits(py, hy, dy)) {
            draw_max(mip, rows, py - hy, py + hy, dx + pz - hz, dx + pz + hz, v);
        }
        if (fits(px, hx, dx) && fits(pz, hz, dz)) {
            draw_max(mip, rows, dy + px - hx, dy + px + hx, dx + pz - hz, dx + pz + hz, v);
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

MipLayout draw_mip(const MipPoints& points, const double dims[5], const double* dxyz, const double* cxyz,
                   MipSize size, double* mip)
{
    const std::int64_t extent[3] = {point_extent(dims[0]), point_extent(dims[1]), point_extent(dims[2])};
    const GeneralViews views = general_views(dxyz, cxyz);
    const MipLayout layout = choose_layout(size, views);
    if (layout == MipLayout::general) {
        draw_general(points, extent, views, size.rows, mip);
    } else if (layout == MipLayout::fixed) {
        draw_fixed(points, extent, mip);
    }
    return layout;
}

}  // namespace nrx
