#include "phasemap/ramps.hpp"

#include <cstdint>

namespace nrx {

void estimate_ramps(const double* pm, const double* mask, const GridDims dim, double ramp[3])
{
    const std::size_t d0 = dim[0], d1 = dim[1], d2 = dim[2];
    const std::size_t step[3] = {1, d0, d0 * d1};
    std::int32_t pairs[3] = {0, 0, 0};
    for (std::size_t i = 0; i < d0; ++i) {
        for (std::size_t j = 0; j < d1; ++j) {
            for (std::size_t k = 0; k < d2; ++k) {
                const std::size_t v = i + step[1] * j + step[2] * k;
                if (!inside_mask(mask[v])) {
                    continue;
                }
                const bool has_next[3] = {i + 1 < d0, j + 1 < d1, k + 1 < d2};
                for (int axis = 0; axis < 3; ++axis) {
                    if (has_next[axis] && inside_mask(mask[v + step[axis]])) {
                        ramp[axis] += wrap(pm[v + step[axis]] - pm[v]);
                        ++pairs[axis];
                    }
                }
            }
        }
    }
    ramp[0] /= pairs[0];
    ramp[1] /= pairs[1];
    ramp[2] = pairs[2] != 0 ? ramp[2] / pairs[2] : 0.0;
}

namespace {

// Applies `step(out[v], term)` at every voxel inside the mask for the three
// axis terms g*(position - centre), first axis first. Each voxel is
// independent of the others, so the voxels are visited in storage order.
template <typename Step>
void apply_ramp_terms(const double* mask, const GridDims dim, const double ramp[3], double* out, Step step)
{
    double centre[3];
    for (int axis = 0; axis < 3; ++axis) {
        centre[axis] = (static_cast<double>(dim[axis]) - 1.0) / 2.0;
    }
    std::size_t v = 0;
    for (std::uint32_t k = 0; k < dim[2]; ++k) {
        const double z_offset = static_cast<double>(k) - centre[2];
        for (std::uint32_t j = 0; j < dim[1]; ++j) {
            const double y_offset = static_cast<double>(j) - centre[1];
            for (std::uint32_t i = 0; i < dim[0]; ++i, ++v) {
                if (inside_mask(mask[v])) {
                    double value = step(out[v], ramp[0] * (static_cast<double>(i) - centre[0]));
                    value = step(value, ramp[1] * y_offset);
                    out[v] = step(value, ramp[2] * z_offset);
                }
            }
        }
    }
}

}  // namespace

void remove_ramps(const double* mask, const GridDims dim, const double ramp[3], double* out)
{
    apply_ramp_terms(mask, dim, ramp, out, [](double value, double term) { return value - term; });
}

void restore_ramps(const double* mask, const GridDims dim, const double ramp[3], double* out)
{
    apply_ramp_terms(mask, dim, ramp, out, [](double value, double term) { return value + term; });
}

}  // namespace nrx
