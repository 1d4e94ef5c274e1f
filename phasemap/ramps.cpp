#include "phasemap/ramps.hpp"

#include <cstdint>
#include <vector>

#include "core/planes.hpp"
#include "phasemap/lanes.hpp"
#include "phasemap/ramp_estimate.hpp"

namespace nrx {

namespace {

using detail::load;
using detail::store;

// pm minus a ramp's terms. A subtraction keeps its operands' order, so the
// NaN it passes on is the same in every lane: no NaN result needs redoing.
struct Remove {
    static constexpr bool redo_nans = false;

    template <bool, typename A, typename B>
    static auto step(const A& value, const B& term, bool)
    {
        return value - term;
    }
};

// pm plus a ramp's terms. Where two NaNs meet, the x term's comes first, then
// the value's, as the voxel-by-voxel sums always had it.
struct Add {
    static constexpr bool redo_nans = true;

    template <bool first_nan, typename A, typename B>
    static auto step(const A& value, const B& term, bool x_term)
    {
        return x_term ? detail::plus<first_nan>(term, value) : detail::plus<first_nan>(value, term);
    }
};

// out = step(step(step(pm, x term), y term), z term) inside the mask, pm
// outside, for the lanes of V from pm, mask, x_terms and out on (first_nan:
// see phasemap/lanes.hpp).
template <typename V, bool first_nan, typename Ramp>
void ramp_lanes(const double* pm, const double* mask, const double* x_terms, double y_term, double z_term,
                double* out)
{
    const V value = load<V>(pm);
    const V x_term = load<V>(x_terms);
    const V ramped = Ramp::template step<first_nan>(
        Ramp::template step<first_nan>(Ramp::template step<first_nan>(value, x_term, true), y_term, false), z_term,
        false);
    store(out, load<V>(mask) != 0.0 ? ramped : value);
}

// ramp_lanes over a row of nx voxels, its NaN results redone one by one where
// the ramp asks for it.
template <typename Ramp>
void ramp_row(const double* pm, const double* mask, const double* x_terms, std::int32_t nx, double y_term,
              double z_term, double* out)
{
    std::int32_t x = 0;
    for (; x + detail::vector_width <= nx; x += detail::vector_width) {
        ramp_lanes<detail::Vector, false, Ramp>(pm + x, mask + x, x_terms + x, y_term, z_term, out + x);
    }
    for (; x < nx; ++x) {
        ramp_lanes<double, false, Ramp>(pm + x, mask + x, x_terms + x, y_term, z_term, out + x);
    }
    if constexpr (Ramp::redo_nans) {
        for (x = 0; x < nx; ++x) {
            if (out[x] != out[x]) {
                ramp_lanes<double, true, Ramp>(pm + x, mask + x, x_terms + x, y_term, z_term, out + x);
            }
        }
    }
}

// Writes out[v] = Ramp::step(Ramp::step(Ramp::step(pm[v], gx term), gy
// term), gz term) inside the mask and pm[v] outside, for the axis terms
// g*(position - centre). Each voxel is independent of the others: planes go
// to every core, and a row's voxels are vector lanes (see
// phasemap/lanes.hpp), a NaN result redone on its own.
template <typename Ramp>
void apply_ramp(const double* pm, const double* mask, const Grid3& grid, const double ramp[3], double* out)
{
    const double centre[3] = {(static_cast<double>(grid.nx) - 1.0) / 2.0, (static_cast<double>(grid.ny) - 1.0) / 2.0,
                              (static_cast<double>(grid.nz) - 1.0) / 2.0};
    std::vector<double> x_terms(static_cast<std::size_t>(grid.nx));
    for (std::int32_t x = 0; x < grid.nx; ++x) {
        x_terms[x] = ramp[0] * (static_cast<double>(x) - centre[0]);
    }
    for_each_plane(
        grid.nz,
        [&](std::int64_t z) {
            const double z_term = ramp[2] * (static_cast<double>(z) - centre[2]);
            for (std::int32_t y = 0; y < grid.ny; ++y) {
                const double y_term = ramp[1] * (static_cast<double>(y) - centre[1]);
                const std::int64_t v = grid.index(0, y, z);
                ramp_row<Ramp>(pm + v, mask + v, x_terms.data(), grid.nx, y_term, z_term, out + v);
            }
        });
}

}  // namespace

void fit_ramp(const double* pm, const double* mask, const Grid3& grid, double ramp[3], double* out)
{
    // out is written last: until then it makes room for the estimate's terms.
    detail::estimate_ramp(pm, mask, grid, ramp, out, grid.count());
    apply_ramp<Remove>(pm, mask, grid, ramp, out);
}

void add_ramp(const double* pm, const double* mask, const Grid3& grid, const double ramp[3], double* out)
{
    apply_ramp<Add>(pm, mask, grid, ramp, out);
}

}  // namespace nrx
