#include "phasemap/ramps.hpp"

#include <cstdint>

#include "core/neighbourhood.hpp"

namespace nrx {

namespace {

// The ramp estimate of fit_ramp.
void estimate_ramp(const double* pm, const double* mask, const Grid3& grid, double ramp[3])
{
    const Neighbourhood forward(grid, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
    double sum[3] = {0.0, 0.0, 0.0};
    std::int32_t pairs[3] = {0, 0, 0};
    const std::int64_t plane = grid.step({0, 0, 1});
    for (std::int32_t x = 0; x < grid.nx; ++x) {
        for (std::int32_t y = 0; y < grid.ny; ++y) {
            std::int64_t v = grid.index(x, y, 0);
            for (std::int32_t z = 0; z < grid.nz; ++z, v += plane) {
                if (!inside_mask(mask[v])) {
                    continue;
                }
                forward.for_each(x, y, z, v, [&](std::size_t axis, std::int64_t next) {
                    if (inside_mask(mask[next])) {
                        sum[axis] += wrap(pm[next] - pm[v]);
                        ++pairs[axis];
                    }
                });
            }
        }
    }
    ramp[0] = sum[0] / pairs[0];
    ramp[1] = sum[1] / pairs[1];
    ramp[2] = pairs[2] != 0 ? sum[2] / pairs[2] : 0.0;
}

// Writes out[v] = step(step(step(pm[v], gx term), gy term), gz term) inside
// the mask and pm[v] outside, for the axis terms g*(position - centre). Each
// voxel is independent of the others, so the voxels go in storage order.
template <typename Step>
void apply_ramp(const double* pm, const double* mask, const Grid3& grid, const double ramp[3], double* out,
                Step step)
{
    const double centre[3] = {(static_cast<double>(grid.nx) - 1.0) / 2.0, (static_cast<double>(grid.ny) - 1.0) / 2.0,
                              (static_cast<double>(grid.nz) - 1.0) / 2.0};
    std::int64_t v = 0;
    for (std::int32_t z = 0; z < grid.nz; ++z) {
        const double z_offset = static_cast<double>(z) - centre[2];
        for (std::int32_t y = 0; y < grid.ny; ++y) {
            const double y_offset = static_cast<double>(y) - centre[1];
            for (std::int32_t x = 0; x < grid.nx; ++x, ++v) {
                if (!inside_mask(mask[v])) {
                    out[v] = pm[v];
                    continue;
                }
                double value = step(pm[v], ramp[0] * (static_cast<double>(x) - centre[0]));
                value = step(value, ramp[1] * y_offset);
                out[v] = step(value, ramp[2] * z_offset);
            }
        }
    }
}

}  // namespace

void fit_ramp(const double* pm, const double* mask, const Grid3& grid, double ramp[3], double* out)
{
    estimate_ramp(pm, mask, grid, ramp);
    apply_ramp(pm, mask, grid, ramp, out, [](double value, double term) { return value - term; });
}

void add_ramp(const double* pm, const double* mask, const Grid3& grid, const double ramp[3], double* out)
{
    apply_ramp(pm, mask, grid, ramp, out, [](double value, double term) { return value + term; });
}

}  // namespace nrx
