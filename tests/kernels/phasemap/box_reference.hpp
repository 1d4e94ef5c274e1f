// Plain references for the kernel-box filters: coordinates tested one by one,
// no linear offsets, the box swept with a outermost and c innermost.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/grid3.hpp"

struct Grid {
    nrx::Grid3 dim;
    std::vector<double> values;

    std::size_t at(std::int64_t i, std::int64_t j, std::int64_t k) const { return i + dim.nx * (j + dim.ny * k); }
    bool holds(std::int64_t i, std::int64_t j, std::int64_t k) const
    {
        return i >= 0 && j >= 0 && k >= 0 && i < dim.nx && j < dim.ny && k < dim.nz;
    }
};

// Calls visit(kernel value, map index) for each kernel element over a map voxel.
template <typename Visit>
void reference_box(const Grid& map, const Grid& kernel, std::int64_t i, std::int64_t j, std::int64_t k, Visit visit)
{
    for (std::int64_t a = 0; a < kernel.dim.nx; ++a)
        for (std::int64_t b = 0; b < kernel.dim.ny; ++b)
            for (std::int64_t c = 0; c < kernel.dim.nz; ++c) {
                const std::int64_t x = i + a - kernel.dim.nx / 2, y = j + b - kernel.dim.ny / 2,
                                   z = k + c - kernel.dim.nz / 2;
                if (map.holds(x, y, z)) visit(kernel.values[kernel.at(a, b, c)], map.at(x, y, z));
            }
}

// One random case of the filter tests: phases and weights of a map, and a kernel.
struct FilterCase {
    Grid pm;
    std::vector<double> wmap;
    Grid kernel;
    std::string name;
};

// Map sizes (3-D, 2-D, one voxel along an axis, tiny, larger than most boxes)
// crossed with kernel sizes (odd, even, 2-D, a single element, larger than
// the map along an axis). draw_voxel(generator, phase, weight) sets each
// voxel; kernel values are uniform in [-3, 3).
template <typename DrawVoxel>
std::vector<FilterCase> random_filter_cases(unsigned seed, DrawVoxel draw_voxel)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> uniform(-3.0, 3.0);
    const std::int32_t maps[][3] = {{9, 8, 7}, {6, 5, 1}, {1, 7, 4}, {2, 2, 2}, {12, 11, 10}};
    const std::int32_t kernels[][3] = {{3, 3, 3}, {2, 4, 1}, {5, 1, 3}, {1, 1, 1}, {4, 4, 4}, {13, 2, 3}};
    std::vector<FilterCase> cases;
    for (const auto& md : maps)
        for (const auto& kd : kernels) {
            FilterCase c{{{md[0], md[1], md[2]}, {}}, {}, {{kd[0], kd[1], kd[2]}, {}}, {}};
            c.name = "map " + std::to_string(md[0]) + "x" + std::to_string(md[1]) + "x" + std::to_string(md[2]) +
                     ", kernel " + std::to_string(kd[0]) + "x" + std::to_string(kd[1]) + "x" + std::to_string(kd[2]);
            for (std::int32_t v = 0; v < md[0] * md[1] * md[2]; ++v) {
                double phase, weight;
                draw_voxel(generator, phase, weight);
                c.pm.values.push_back(phase);
                c.wmap.push_back(weight);
            }
            for (std::int32_t e = 0; e < kd[0] * kd[1] * kd[2]; ++e) c.kernel.values.push_back(uniform(generator));
            cases.push_back(c);
        }
    return cases;
}
