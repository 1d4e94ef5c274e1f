#include "phasemap/phase_fill.hpp"

#include <algorithm>
#include <vector>

#include "phasemap/box_rows.hpp"

namespace nrx {

namespace {

using namespace detail;

// Fills the empty ones among count vectors of type V (see
// phasemap/lanes.hpp) of neighbouring voxels of a row from voxel v (at x) on;
// the others are written unchanged. With `checked`, elements outside the map
// along x are left out; without, every element must lie inside for every
// lane. A voxel whose result is NaN is redone with `first_nan`, so that
// where two NaNs meet the one passed on is as the voxel-by-voxel sum always
// had it: the kernel value's, the sum's.
template <typename V, int count, bool checked, bool first_nan = false>
void fill_voxels(const double* pm, const double* wmap, const std::vector<RowElement>& row, std::int64_t v,
                 std::int32_t x, std::int32_t nx, double* pm_out, double* wmap_out)
{
    constexpr int width = sizeof(V) / sizeof(double);
    V sum[count] = {};
    V known[count] = {};
    for (const RowElement& e : row) {
        if (checked && (x + e.dx < 0 || x + e.dx >= nx)) {
            continue;
        }
        for (int i = 0; i < count; ++i) {
            const std::int64_t u = v + e.step + i * width;
            const auto is_known = load<V>(wmap + u) != 0.0;
            sum[i] = is_known ? plus<first_nan>(sum[i], times<first_nan>(e.value, load<V>(pm + u))) : sum[i];
            known[i] = is_known ? known[i] + 1.0 : known[i];
        }
    }
    for (int i = 0; i < count; ++i) {
        const std::int64_t u = v + i * width;
        const auto filled = (load<V>(wmap + u) == 0.0) & (known[i] > 0.0);
        store(pm_out + u, filled ? sum[i] / known[i] : load<V>(pm + u));
        store(wmap_out + u, filled ? V{} + 1.0 : load<V>(wmap + u));
    }
    if constexpr (!first_nan) {
        for (int l = 0; l < count * width; ++l) {
            // A known voxel keeps its phase, NaN or not: only an empty one has a sum to redo.
            if (pm_out[v + l] != pm_out[v + l] && wmap[v + l] == 0.0) {
                fill_voxels<double, 1, true, true>(pm, wmap, row, v + l, x + l, nx, pm_out, wmap_out);
            }
        }
    }
}

// Fills the empty voxels of [begin, end) in a row's interior, the row
// starting at voxel v0: as vector lanes where empty voxels crowd, one by one
// where they are few.
void fill_interior(const double* pm, const double* wmap, const std::vector<RowElement>& row, std::int64_t v0,
                   std::int32_t begin, std::int32_t end, std::int32_t nx, double* pm_out, double* wmap_out)
{
    const auto fill_one_by_one = [&](std::int32_t from, std::int32_t to) {
        for (std::int32_t x = from; x < to; ++x) {
            if (!has_known_phase(wmap[v0 + x])) {
                fill_voxels<double, 1, false>(pm, wmap, row, v0 + x, x, nx, pm_out, wmap_out);
            }
        }
    };
    std::int32_t x = begin;
    for (; x + box_lanes <= end; x += box_lanes) {
        int empty = 0;
        for (int l = 0; l < box_lanes; ++l) {
            empty += !has_known_phase(wmap[v0 + x + l]);
        }
        if (empty > 2) {
            fill_voxels<Vector, box_vectors, false>(pm, wmap, row, v0 + x, x, nx, pm_out, wmap_out);
        } else if (empty > 0) {
            fill_one_by_one(x, x + box_lanes);
        }
    }
    fill_one_by_one(x, end);
}

}  // namespace

bool fill_empty_phase(const double* pm, const double* wmap, const Grid3& grid, const double* kernel,
                      const Grid3& kernel_grid, double* pm_out, double* wmap_out, KeepGoing keep_going)
{
    const BoxRows box(grid, kernel, kernel_grid);
    const std::int32_t nx = grid.nx;
    const auto fill_row = [&](std::int32_t y, std::int32_t z, const std::vector<RowElement>& row, Span reach) {
        const std::int64_t v0 = grid.index(0, y, z);
        std::copy(pm + v0, pm + v0 + nx, pm_out + v0);
        std::copy(wmap + v0, wmap + v0 + nx, wmap_out + v0);
        box.walk(
            reach,
            [&](std::int32_t x) {
                if (!has_known_phase(wmap[v0 + x])) {
                    fill_voxels<double, 1, true>(pm, wmap, row, v0 + x, x, nx, pm_out, wmap_out);
                }
            },
            [&](std::int32_t begin, std::int32_t end) {
                fill_interior(pm, wmap, row, v0, begin, end, nx, pm_out, wmap_out);
            });
    };
    return box.for_each_row(wmap, keep_going, fill_row);
}

}  // namespace nrx
