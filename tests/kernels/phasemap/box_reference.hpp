// Plain references for the kernel-box filters: coordinates tested one by one,
// no linear offsets, the box swept with a outermost and c innermost.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
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

// A map wide enough for many vector steps per row: a ball of known voxels
// (weights 0.5 to 2) in an empty map, its interior holed sparsely, one slab
// holed densely, a few NaN phases among the known voxels; the sizes do not
// divide by the lanes or the thread counts.
inline FilterCase ball_case(const nrx::Grid3& dim, const Grid& kernel)
{
    std::mt19937 generator(41);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    FilterCase c{{dim, {}}, {}, kernel, "ball"};
    for (std::int32_t k = 0; k < dim.nz; ++k)
        for (std::int32_t j = 0; j < dim.ny; ++j)
            for (std::int32_t i = 0; i < dim.nx; ++i) {
                const double x = (i - dim.nx / 2.0) / (dim.nx / 2.5), y = (j - dim.ny / 2.0) / (dim.ny / 2.5),
                             z = (k - dim.nz / 2.0) / (dim.nz / 2.5);
                const double draw = uniform(generator);
                const bool known = x * x + y * y + z * z < 1.0 && (k == 3 ? draw < 0.3 : draw < 0.93);
                c.pm.values.push_back(draw > 0.995 ? std::numeric_limits<double>::quiet_NaN() : 6 * draw - 3);
                c.wmap.push_back(known ? 0.5 + 1.5 * uniform(generator) : 0.0);
            }
    return c;
}
