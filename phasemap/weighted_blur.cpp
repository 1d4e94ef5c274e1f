#include "phasemap/weighted_blur.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "phasemap/box_rows.hpp"

namespace nrx {

namespace {

using namespace detail;

// Blurs count vectors of type V (see phasemap/lanes.hpp) of neighbouring
// voxels of a row from voxel v (at x) on. With `checked`, elements outside
// the map along x are left out; without, every element must lie inside for
// every lane. A voxel whose result is NaN is redone with `first_nan`, so
// that where two NaNs meet the one passed on is as the voxel-by-voxel sum
// always had it: the kernel value's, the phase's, the sum's.
template <typename V, int count, bool checked, bool first_nan = false>
void blur_voxels(const double* pm, const double* wmap, const std::vector<RowElement>& row, std::int64_t v,
                 std::int32_t x, std::int32_t nx, double* out)
{
    constexpr int width = sizeof(V) / sizeof(double);
    V sum[count] = {};
    V total[count] = {};
    for (const RowElement& e : row) {
        if (checked && (x + e.dx < 0 || x + e.dx >= nx)) {
            continue;
        }
        for (int i = 0; i < count; ++i) {
            const std::int64_t u = v + e.step + i * width;
            const V weight = times<first_nan>(e.value, load<V>(wmap + u));
            sum[i] = plus<first_nan>(sum[i], times<first_nan>(load<V>(pm + u), weight));
            total[i] = plus<first_nan>(total[i], weight);
        }
    }
    for (int i = 0; i < count; ++i) {
        const std::int64_t u = v + i * width;
        store(out + u, total[i] == 0.0 ? load<V>(pm + u) : sum[i] / total[i]);
    }
    if constexpr (!first_nan) {
        for (int l = 0; l < count * width; ++l) {
            if (out[v + l] != out[v + l]) {
                blur_voxels<double, 1, true, true>(pm, wmap, row, v + l, x + l, nx, out);
            }
        }
    }
}

// Blurs the voxels of [begin, end) in a row's interior, the row starting at
// voxel v0, as vector lanes.
void blur_interior(const double* pm, const double* wmap, const std::vector<RowElement>& row, std::int64_t v0,
                   std::int32_t begin, std::int32_t end, std::int32_t nx, double* out)
{
    std::int32_t x = begin;
    for (; x + box_lanes <= end; x += box_lanes) {
        blur_voxels<Vector, box_vectors, false>(pm, wmap, row, v0 + x, x, nx, out);
    }
    for (; x < end; ++x) {
        blur_voxels<double, 1, false>(pm, wmap, row, v0 + x, x, nx, out);
    }
}

}  // namespace

bool weighted_blur(const double* pm, const double* wmap, const Grid3& grid, const double* kernel,
                   const Grid3& kernel_grid, double* out, KeepGoing keep_going)
{
    const BoxRows box(grid, kernel, kernel_grid);
    // With finite kernel values a box of weights 0 totals 0 and keeps the
    // phase, so only the voxels near known ones need the sums; a kernel value
    // of infinity or NaN makes such a total NaN instead.
    const bool finite_kernel =
        std::all_of(kernel, kernel + kernel_grid.count(), [](double k) { return std::isfinite(k); });
    const std::int32_t nx = grid.nx;
    const auto blur_row = [&](std::int32_t y, std::int32_t z, const std::vector<RowElement>& row, Span reach) {
        const std::int64_t v0 = grid.index(0, y, z);
        // Outside the reach the phases are kept; inside, walk writes every voxel.
        const Span kept = is_empty(reach) ? Span{nx, nx - 1} : reach;
        std::copy(pm + v0, pm + v0 + kept.first, out + v0);
        std::copy(pm + v0 + kept.last + 1, pm + v0 + nx, out + v0 + kept.last + 1);
        box.walk(
            reach, [&](std::int32_t x) { blur_voxels<double, 1, true>(pm, wmap, row, v0 + x, x, nx, out); },
            [&](std::int32_t begin, std::int32_t end) { blur_interior(pm, wmap, row, v0, begin, end, nx, out); });
    };
    return box.for_each_row(finite_kernel ? wmap : nullptr, keep_going, blur_row);
}

}  // namespace nrx
