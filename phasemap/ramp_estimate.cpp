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

// The terms of a block of x planes [x0, x1), kept for the map rows in
// visiting order (row r = z + nz * y) and, within a row, for the x of its
// span inside the mask only: the three axes' terms of x side by side.
class BlockTerms {
public:
    // inside[r]: the span inside the mask of row r.
    BlockTerms(const Grid3& grid, const std::vector<Span>& inside, std::int32_t x0, std::int32_t x1,
               std::vector<double>& buffer)
        : grid_(grid), x0_(x0), x1_(x1), parts_(inside.size())
    {
        std::int64_t offset = 0;
        for (std::size_t r = 0; r < inside.size(); ++r) {
            Part& part = parts_[r];
            part.first = std::max(x0, inside[r].first);
            part.end = std::max(part.first, std::min(x1, inside[r].last + 1));
            part.offset = offset;
            offset += 3 * std::int64_t{part.end - part.first};
            if (part.end > part.first) {
                in_visiting_order_.push_back(part);
            }
        }
        buffer.resize(static_cast<std::size_t>(offset));
        terms_ = buffer.data();
    }

    // Computes the terms of the rows of plane z; adds the pairs inside the
    // mask along each axis to `pairs`.
    void compute_plane(const double* pm, const double* mask, std::int32_t z, std::int64_t pairs[3]) const
    {
        const std::int64_t steps[3] = {1, grid_.step({0, 1, 0}), grid_.step({0, 0, 1})};
        std::vector<double> row[3];
        for (std::vector<double>& t : row) {
            t.resize(static_cast<std::size_t>(grid_.nx));
        }
        for (std::int32_t y = 0; y < grid_.ny; ++y) {
            const Part& part = parts_[z + static_cast<std::size_t>(grid_.nz) * y];
            if (part.end == part.first) {
                continue;
            }
            // A pair reaches the next voxel along an axis only inside the map.
            const std::int32_t ends[3] = {std::min(part.end, grid_.nx - 1), y + 1 < grid_.ny ? part.end : part.first,
                                          z + 1 < grid_.nz ? part.end : part.first};
            const std::int64_t v = grid_.index(0, y, z);
            for (int a = 0; a < 3; ++a) {
                std::fill(&row[a][part.first], &row[a][0] + part.end, 0.0);
                pairs[a] += pair_terms(pm + v, mask + v, steps[a], part.first, std::max(part.first, ends[a]),
                                       row[a].data());
            }
            double* out = terms_ + part.offset;
            for (std::int32_t x = part.first; x < part.end; ++x, out += 3) {
                out[0] = row[0][x];
                out[1] = row[1][x];
                out[2] = row[2][x];
            }
        }
    }

    // Adds the terms to the sums in visiting order: x outermost, then the
    // rows (y, then z).
    void add_up(double sum[3]) const
    {
        for (std::int32_t x = x0_; x < x1_; ++x) {
            for (const Part& part : in_visiting_order_) {
                if (x >= part.first && x < part.end) {
                    // A NaN term comes first, as the sums always had it.
                    const double* t = terms_ + part.offset + 3 * std::int64_t{x - part.first};
                    sum[0] = plus(t[0], sum[0]);
                    sum[1] = plus(t[1], sum[1]);
                    sum[2] = plus(t[2], sum[2]);
                }
            }
        }
    }

private:
    // The x of a row whose terms the block keeps, and where they start.
    struct Part {
        std::int32_t first;
        std::int32_t end;
        std::int64_t offset;
    };

    Grid3 grid_;
    std::int32_t x0_;
    std::int32_t x1_;
    std::vector<Part> parts_;              // every row's
    std::vector<Part> in_visiting_order_;  // those of the rows with terms
    double* terms_ = nullptr;
};

}  // namespace

void estimate_ramp(const double* pm, const double* mask, const Grid3& grid, double ramp[3], std::int64_t block_bytes)
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
            },
            [](std::int64_t) { return true; });
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
        std::vector<double> buffer;
        std::vector<std::int64_t> plane_pairs(3 * static_cast<std::size_t>(grid.nz));
        for (std::int32_t x0 = 0, x1 = 0; x0 < grid.nx; x0 = x1) {
            std::int64_t bytes = 0;
            do {
                bytes += 3 * std::int64_t{sizeof(double)} * kept[x1++];
            } while (x1 < grid.nx && bytes + 3 * std::int64_t{sizeof(double)} * kept[x1] <= block_bytes);
            const BlockTerms block(grid, inside, x0, x1, buffer);
            std::fill(plane_pairs.begin(), plane_pairs.end(), 0);
            for_each_plane(
                grid.nz,
                [&](std::int64_t z) {
                    block.compute_plane(pm, mask, static_cast<std::int32_t>(z), &plane_pairs[3 * z]);
                },
                [](std::int64_t) { return true; });
            block.add_up(sum);
            for (std::size_t k = 0; k < plane_pairs.size(); ++k) {
                pairs[k % 3] += plane_pairs[k];
            }
        }
    }
    ramp[0] = sum[0] / static_cast<double>(pairs[0]);
    ramp[1] = sum[1] / static_cast<double>(pairs[1]);
    ramp[2] = pairs[2] != 0 ? sum[2] / static_cast<double>(pairs[2]) : 0.0;
}

}  // namespace nrx::detail
