// One walk over the neighbours of a voxel, for every kernel and mask of the
// toolbox: a fixed list of offsets on one grid, visited from any voxel in
// list order, skipping the neighbours that fall outside the grid.
//
// The list order is part of each kernel's contract (it fixes the order of
// sums and which of equal candidates wins), so both paths below visit the
// same neighbours in the same order. The path is chosen here only: a voxel
// whose every neighbour lies inside steps by precomputed linear offsets with
// no coordinate tests; any other voxel tests each neighbour.
//
// Typical use (a 3x3x3 box, each neighbour's value weighed by the kernel):
//
//   const std::vector<nrx::BoxElement> box = nrx::box_elements(kernel_grid);
//   const nrx::Neighbourhood around(grid, nrx::offsets_of(box));
//   around.for_each(x, y, z, grid.index(x, y, z), [&](std::size_t k, std::int64_t n) {
//       sum += kernel[box[k].element] * image[n];
//   });
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/grid3.hpp"

namespace nrx {

class Neighbourhood {
public:
    Neighbourhood(const Grid3& grid, std::vector<Offset3> offsets);

    std::size_t size() const { return offsets_.size(); }
    const Offset3& offset(std::size_t k) const { return offsets_[k]; }
    // The reach along each axis: the smallest and the largest offset (each
    // counting the voxel itself, offset 0).
    const Offset3& low() const { return low_; }
    const Offset3& high() const { return high_; }

    // Whether every neighbour of voxel (x, y, z) lies inside the grid.
    bool all_inside(std::int64_t x, std::int64_t y, std::int64_t z) const
    {
        return x + low_.dx >= 0 && x + high_.dx < grid_.nx && y + low_.dy >= 0 && y + high_.dy < grid_.ny &&
               z + low_.dz >= 0 && z + high_.dz < grid_.nz;
    }

    // Calls visit(k, n) for every neighbour k, in list order, that lies inside
    // the grid; n is its linear index and v that of voxel (x, y, z).
    template <typename Visit>
    void for_each(std::int64_t x, std::int64_t y, std::int64_t z, std::int64_t v, Visit&& visit) const
    {
        const std::size_t n = offsets_.size();
        if (all_inside(x, y, z)) {
            for (std::size_t k = 0; k < n; ++k) {
                visit(k, v + steps_[k]);
            }
            return;
        }
        for (std::size_t k = 0; k < n; ++k) {
            const Offset3& o = offsets_[k];
            if (grid_.contains(x + o.dx, y + o.dy, z + o.dz)) {
                visit(k, v + steps_[k]);
            }
        }
    }

private:
    Grid3 grid_;
    std::vector<Offset3> offsets_;
    std::vector<std::int64_t> steps_;  // linear offsets, one per neighbour
    Offset3 low_{0, 0, 0};
    Offset3 high_{0, 0, 0};
};

// One element of a kernel box: how far it reaches from the box's centre, and
// its linear index in the kernel's own storage.
struct BoxElement {
    Offset3 offset;
    std::int64_t element;
};

// Every element of a kernel of size `box` placed with its centre element
// floor(n / 2) along each axis on the voxel (an even size reaches one voxel
// further back than forward: size 4 covers offsets -2 to +1), listed with the
// first axis outermost and the third innermost. A kernel with a dimension of
// 0 has no elements.
std::vector<BoxElement> box_elements(const Grid3& box);

// The offsets of a list of box elements, in the same order.
std::vector<Offset3> offsets_of(const std::vector<BoxElement>& elements);

}  // namespace nrx
