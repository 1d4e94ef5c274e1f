// Plain references for the kernel-box filters: coordinates tested one by one,
// no linear offsets, the box swept with a outermost and c innermost.
#pragma once

#include <cstdint>
#include <vector>

struct Grid {
    std::uint32_t dim[3];
    std::vector<double> values;

    std::size_t at(std::int64_t i, std::int64_t j, std::int64_t k) const { return i + dim[0] * (j + dim[1] * k); }
    bool holds(std::int64_t i, std::int64_t j, std::int64_t k) const
    {
        return i >= 0 && j >= 0 && k >= 0 && i < dim[0] && j < dim[1] && k < dim[2];
    }
};

// Calls visit(kernel value, map index) for each kernel element over a map voxel.
template <typename Visit>
void reference_box(const Grid& map, const Grid& kernel, std::int64_t i, std::int64_t j, std::int64_t k, Visit visit)
{
    for (std::int64_t a = 0; a < kernel.dim[0]; ++a)
        for (std::int64_t b = 0; b < kernel.dim[1]; ++b)
            for (std::int64_t c = 0; c < kernel.dim[2]; ++c) {
                const std::int64_t x = i + a - kernel.dim[0] / 2, y = j + b - kernel.dim[1] / 2,
                                   z = k + c - kernel.dim[2] / 2;
                if (map.holds(x, y, z)) visit(kernel.values[kernel.at(a, b, c)], map.at(x, y, z));
            }
}
