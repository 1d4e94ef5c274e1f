#include "core/neighbourhood.hpp"

#include <algorithm>
#include <utility>

namespace nrx {

Neighbourhood::Neighbourhood(const Grid3& grid, std::vector<Offset3> offsets)
    : grid_(grid), offsets_(std::move(offsets))
{
    steps_.reserve(offsets_.size());
    for (const Offset3& o : offsets_) {
        steps_.push_back(grid_.step(o));
        low_ = {std::min(low_.dx, o.dx), std::min(low_.dy, o.dy), std::min(low_.dz, o.dz)};
        high_ = {std::max(high_.dx, o.dx), std::max(high_.dy, o.dy), std::max(high_.dz, o.dz)};
    }
}

std::vector<BoxElement> box_elements(const Grid3& box)
{
    std::vector<BoxElement> elements;
    elements.reserve(static_cast<std::size_t>(box.count()));
    for (std::int32_t a = 0; a < box.nx; ++a) {
        for (std::int32_t b = 0; b < box.ny; ++b) {
            for (std::int32_t c = 0; c < box.nz; ++c) {
                elements.push_back({{a - box.nx / 2, b - box.ny / 2, c - box.nz / 2}, box.index(a, b, c)});
            }
        }
    }
    return elements;
}

std::vector<Offset3> offsets_of(const std::vector<BoxElement>& elements)
{
    std::vector<Offset3> offsets;
    offsets.reserve(elements.size());
    for (const BoxElement& e : elements) {
        offsets.push_back(e.offset);
    }
    return offsets;
}

}  // namespace nrx
