#include "phasemap/ramp_estimate.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/planes.hpp"
#include "phasemap/lanes.hpp"
#include "phasemap/row_span.hpp"

namespace nrx::detail {

namespace {

// The terms of the voxel pairs (pm, pm + step) in the lanes of V, with the
// mask values beside them (see pair_terms). Counts, per lane, the pairs
// inside the mask in `pairs` and in `unsettled` those where wrap() would
// take more than the one step per direction taken here, or its far path (a
// difference beyond 1024 needs more steps too). A NaN difference passes
// through both steps, as through wrap().
template <typename V>
void wrap_lanes(const double* pm, const double* mask, std::int64_t step, double* term, V& pairs, V& unsettled)
{
    const V d = load<V>(pm + step) - load<V>(pm);
    const V down = d > pi_approx ? d - two_pi_approx : d;
    const V up = down < -pi_approx ? down + two_pi_approx : down;
    const auto both = (load<V>(mask) != 0.0) & (load<V>(mask + step) != 0.0);
    store(term, both ? up : V{});
    pairs = both ? pairs + 1.0 : pairs;
    unsettled = both & ((down > pi_approx) | (up < -pi_approx)) ? unsettled + 1.0 : unsettled;
}

// Writes to term[l], for the voxel pairs (l, l + step) from pm and mask on
// with l in [begin, end), the wrapped difference when both voxels are inside
// the mask and +0.0 otherwise. Returns the number of pairs inside.
std::int64_t pair_terms(const double* pm, const double* mask, std::int64_t step, std::int32_t begin,
                        std::int32_t end, double* term)
{
    Vector pairs = {};
    Vector unsettled = {};
    double tail_pairs = 0.0;
    double tail_unsettled = 0.0;
    std::int32_t l = begin;
    for (; l + vector_width <= end; l += vector_width) {
        wrap_lanes<Vector>(pm + l, mask + l, step, term + l, pairs, unsettled);
    }
    for (; l < end; ++l) {
        wrap_lanes<double>(pm + l, mask + l, step, term + l, tail_pairs, tail_unsettled);
    }
    for (int lane = 0; lane < vector_width; ++lane) {
        tail_pairs += pairs[lane];
        tail_unsettled += unsettled[lane];
    }
    if (tail_unsettled != 0.0) {
        for (l = begin; l < end; ++l) {
            if (inside_mask(mask[l]) && inside_mask(mask[l + step])) {
                term[l] = wrap(pm[l + step] - pm[l]);
            }
        }
    }
    return static_cast<std::int64_t>(tail_pairs);
}

constexpr std::int32_t slab_rows = 8;  // rows along y per piece of work

// The terms of a block of x planes [x0, x1) in visiting order, each x
// plane's after the last one's, and within a plane those of the rows (y, z)
// whose span inside the mask holds x, y outermost, then z: a slot of three
// terms (one per axis) each. Rows are computed a slab of y at a time, every
// slab on any core, and add_up reads the buffer front to back.
class BlockTerms {
public:
    // inside[z + nz * y]: the span inside the mask of row (y, z).
    // The block's terms go to `terms` (3 * kept[x] doubles for each x).
    BlockTerms(const Grid3& grid, const std::vector<Span>& inside, std::int32_t x0, std::int32_t x1, double* terms)
        : grid_(grid), inside_(inside), x0_(x0), x1_(x1), width_(x1 - x0),
          first_slot_(static_cast<std::size_t>(slabs()) * width_), terms_(terms)
    {
        // The rows of each slab that hold each x (from where their parts
        // start and end)...
        std::vector<std::int64_t> change(static_cast<std::size_t>(width_) + 1);
        for (std::int32_t slab = 0; slab < slabs(); ++slab) {
            std::fill(change.begin(), change.end(), 0);
            for (std::int32_t y = slab * slab_rows; y < std::min(grid.ny, (slab + 1) * slab_rows); ++y) {
                for (std::int32_t z = 0; z < grid.nz; ++z) {
                    const Part part = part_of(y, z);
                    ++change[part.first - x0];
                    --change[part.end - x0];
                }
            }
            std::int64_t rows = 0;
            for (std::int32_t x = 0; x < width_; ++x) {
                rows += change[x];
                first_slot_[static_cast<std::size_t>(slab) * width_ + x] = rows;
            }
        }
        // ... give the first slot of each slab's rows in each x plane.
        std::int64_t slot = 0;
        for (std::int32_t x = 0; x < width_; ++x) {
            for (std::int32_t slab = 0; slab < slabs(); ++slab) {
                std::int64_t& first = first_slot_[static_cast<std::size_t>(slab) * width_ + x];
                const std::int64_t rows = first;
                first = slot;
                slot += rows;
            }
        }
        slots_ = slot;
    }

    std::int32_t slabs() const { return (grid_.ny + slab_rows - 1) / slab_rows; }

    // Computes the terms of the rows of a slab; adds the pairs inside the
    // mask along each axis to `pairs`.
    void compute_slab(const double* pm, const double* mask, std::int32_t slab, std::int64_t pairs[3]) const
    {
        const std::int64_t steps[3] = {1, grid_.step({0, 1, 0}), grid_.step({0, 0, 1})};
        const std::int64_t* first = first_slot_.data() + std::int64_t{slab} * width_;
        std::vector<std::int64_t> slot(first, first + width_);
        std::vector<double> row[3];
        for (std::vector<double>& t : row) {
            t.resize(static_cast<std::size_t>(grid_.nx));
        }
        const std::int32_t y_end = std::min(grid_.ny, (slab + 1) * slab_rows);
        for (std::int32_t y = slab * slab_rows; y < y_end; ++y) {
            for (std::int32_t z = 0; z < grid_.nz; ++z) {
                const Part part = part_of(y, z);
                if (part.end == part.first) {
                    continue;
                }
                // A pair reaches the next voxel along an axis only inside the map.
                const std::int32_t ends[3] = {std::min(part.end, grid_.nx - 1),
                                              y + 1 < grid_.ny ? part.end : part.first,
                                              z + 1 < grid_.nz ? part.end : part.first};
                const std::int64_t v = grid_.index(0, y, z);
                for (int a = 0; a < 3; ++a) {
                    // pair_terms writes every term up to the axis' end; past it are no pairs.
                    const std::int32_t end = std::max(part.first, ends[a]);
                    pairs[a] += pair_terms(pm + v, mask + v, steps[a], part.first, end, row[a].data());
                    std::fill(row[a].data() + end, row[a].data() + part.end, 0.0);
                }
                for (std::int32_t x = part.first; x < part.end; ++x) {
                    double* out = terms_ + 3 * slot[x - x0_]++;
                    out[0] = row[0][x];
                    out[1] = row[1][x];
                    out[2] = row[2][x];
                }
            }
        }
    }

    // Adds the terms to the sums in visiting order. A NaN term comes first,
    // as the sums always had it.
    void add_up(double sum[3]) const
    {
        for (const double* t = terms_; t < terms_ + 3 * slots_; t += 3) {
            sum[0] = plus<true>(t[0], sum[0]);
            sum[1] = plus<true>(t[1], sum[1]);
            sum[2] = plus<true>(t[2], sum[2]);
        }
    }

private:
    // The x of row (y, z) in the block and inside the mask: [first, end).
    struct Part {
        std::int32_t first;
        std::int32_t end;
    };

    Part part_of(std::int32_t y, std::int32_t z) const
    {
        const Span& span = inside_[z + static_cast<std::size_t>(grid_.nz) * y];
        const std::int32_t first = std::min(x1_, std::max(x0_, span.first));
        return {first, std::max(first, std::min(x1_, span.last + 1))};
    }

    Grid3 grid_;
    const std::vector<Span>& inside_;
    std::int32_t x0_;
    std::int32_t x1_;
    std::int32_t width_;
    std::vector<std::int64_t> first_slot_;  // of slab s's rows in x plane x0 + i, at s * width + i
    std::int64_t slots_ = 0;
    double* terms_;
};

}  // namespace

void estimate_ramp(const double* pm, const double* mask, const Grid3& grid, double ramp[3], double* scratch,
                   std::int64_t scratch_size)
{
    double sum[3] = {0.0, 0.0, 0.0};
    std::int64_t pairs[3] = {0, 0, 0};
    if (grid.count() > 0) {
        // The span inside the mask of every row, rows in visiting order.
        std::vector<Span> inside(static_cast<std::size_t>(grid.ny) * grid.nz);
        for_each_plane(
            grid.nz,
            [&](std::int64_t z) {
                for (std::int32_t y = 0; y < grid.ny; ++y) {
                    inside[z + static_cast<std::size_t>(grid.nz) * y] =
                        nonzero_span(mask + grid.index(0, y, z), grid.nx);
                }
            });
        // How many rows' spans hold each x plane: its terms kept.
        std::vector<std::int64_t> kept(static_cast<std::size_t>(grid.nx) + 1, 0);
        for (const Span& span : inside) {
            if (!is_empty(span)) {
                ++kept[span.first];
                --kept[span.last + 1];
            }
        }
        for (std::int32_t x = 1; x < grid.nx; ++x) {
            kept[x] += kept[x - 1];
        }
        // Blocks of x planes as large as the scratch takes, or a buffer of
        // one x plane's when that is larger.
        const std::int64_t plane_most = 3 * *std::max_element(kept.begin(), kept.end());
        std::vector<double> buffer(static_cast<std::size_t>(plane_most > scratch_size ? plane_most : 0));
        double* const terms = buffer.empty() ? scratch : buffer.data();
        const std::int64_t room = std::max(plane_most, scratch_size);
        for (std::int32_t x0 = 0, x1 = 0; x0 < grid.nx; x0 = x1) {
            std::int64_t size = 0;
            do {
                size += 3 * kept[x1++];
            } while (x1 < grid.nx && size + 3 * kept[x1] <= room);
            const BlockTerms block(grid, inside, x0, x1, terms);
            std::vector<std::int64_t> slab_pairs(3 * static_cast<std::size_t>(block.slabs()), 0);
            for_each_plane(
                block.slabs(),
                [&](std::int64_t slab) {
                    block.compute_slab(pm, mask, static_cast<std::int32_t>(slab), &slab_pairs[3 * slab]);
                });
            block.add_up(sum);
            for (std::size_t k = 0; k < slab_pairs.size(); ++k) {
                pairs[k % 3] += slab_pairs[k];
            }
        }
    }
    ramp[0] = sum[0] / static_cast<double>(pairs[0]);
    ramp[1] = sum[1] / static_cast<double>(pairs[1]);
    ramp[2] = pairs[2] != 0 ? sum[2] / static_cast<double>(pairs[2]) : 0.0;
}

}  // namespace nrx::detail
