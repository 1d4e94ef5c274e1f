#include "phasemap/box_rows.hpp"

#include <algorithm>


namespace nrx::detail {

namespace {

Span join(const Span& a, const Span& b)
{
    if (is_empty(a)) return b;
    if (is_empty(b)) return a;
    return {std::min(a.first, b.first), std::max(a.last, b.last)};
}

}  // namespace

BoxRows::BoxRows(const Grid3& grid, const double* kernel, const std::vector<BoxElement>& box)
    : grid_(grid), around_(grid, offsets_of(box))
{
    for (const BoxElement& e : box) {
        all_.push_back({kernel[e.element], grid.step(e.offset), e.offset.dx});
    }
    interior_begin_ = -around_.low().dx;
    interior_end_ = grid.nx - around_.high().dx;
}

const std::vector<RowElement>& BoxRows::elements(std::int32_t y, std::int32_t z,
                                                 std::vector<RowElement>& scratch) const
{
    if (grid_.contains(0, std::int64_t{y} + around_.low().dy, std::int64_t{z} + around_.low().dz) &&
        grid_.contains(0, std::int64_t{y} + around_.high().dy, std::int64_t{z} + around_.high().dz)) {
        return all_;
    }
    scratch.clear();
    for (std::size_t k = 0; k < all_.size(); ++k) {
        const std::int64_t ny = y + around_.offset(k).dy, nz = z + around_.offset(k).dz;
        if (ny >= 0 && ny < grid_.ny && nz >= 0 && nz < grid_.nz) {
            scratch.push_back(all_[k]);
        }
    }
    return scratch;
}

std::int32_t BoxRows::known_rows(const double* wmap, std::int32_t z_begin, std::int32_t z_end,
                                 std::vector<Span>& known) const
{
    const std::int32_t first = static_cast<std::int32_t>(std::max<std::int64_t>(0, std::int64_t{z_begin} + around_.low().dz));
    const std::int32_t last =
        static_cast<std::int32_t>(std::min<std::int64_t>(grid_.nz - 1, std::int64_t{z_end} - 1 + around_.high().dz));
    known.clear();
    for (std::int32_t plane = first; plane <= last; ++plane) {
        for (std::int32_t y = 0; y < grid_.ny; ++y) {
            known.push_back(nonzero_span(wmap + grid_.index(0, y, plane), grid_.nx));
        }
    }
    return first;
}

void BoxRows::reach_of_known(const std::vector<Span>& known, std::int32_t first, std::int32_t z,
                             std::vector<Span>& reach) const
{
    reach.assign(static_cast<std::size_t>(grid_.ny), no_span);
    if (all_.empty()) {
        return;
    }
    // The known voxels of each row y across the planes the box reaches...
    std::vector<Span> across(static_cast<std::size_t>(grid_.ny), no_span);
    const std::int64_t z_last = std::min<std::int64_t>(grid_.nz - 1, std::int64_t{z} + around_.high().dz);
    for (std::int64_t plane = std::max<std::int64_t>(0, std::int64_t{z} + around_.low().dz); plane <= z_last; ++plane) {
        const Span* spans = known.data() + (plane - first) * grid_.ny;
        for (std::int32_t y = 0; y < grid_.ny; ++y) {
            across[y] = join(across[y], spans[y]);
        }
    }
    // ... then across the rows the box reaches, widened by its reach along x.
    for (std::int32_t y = 0; y < grid_.ny; ++y) {
        Span span = no_span;
        const std::int64_t y_last = std::min<std::int64_t>(grid_.ny - 1, std::int64_t{y} + around_.high().dy);
        for (std::int64_t row = std::max<std::int64_t>(0, std::int64_t{y} + around_.low().dy); row <= y_last; ++row) {
            span = join(span, across[row]);
        }
        if (!is_empty(span)) {
            reach[y] = {static_cast<std::int32_t>(std::max<std::int64_t>(0, std::int64_t{span.first} - around_.high().dx)),
                        static_cast<std::int32_t>(std::min<std::int64_t>(grid_.nx - 1, std::int64_t{span.last} - around_.low().dx))};
        }
    }
}

}  // namespace nrx::detail
