#include "phasemap/weighted_blur.hpp"

#include <vector>

#include "core/neighbourhood.hpp"

namespace nrx {

void weighted_blur(const double* pm, const double* wmap, const Grid3& grid, const double* kernel,
                   const Grid3& kernel_grid, double* out)
{
    const std::vector<BoxElement> box = box_elements(kernel_grid);
    const Neighbourhood around(grid, offsets_of(box));
    std::int64_t v = 0;
    for (std::int32_t z = 0; z < grid.nz; ++z) {
        for (std::int32_t y = 0; y < grid.ny; ++y) {
            for (std::int32_t x = 0; x < grid.nx; ++x, ++v) {
                double sum = 0.0;
                double total = 0.0;
                around.for_each(x, y, z, v, [&](std::size_t k, std::int64_t u) {
                    const double w = kernel[box[k].element] * wmap[u];
                    sum = sum + w * pm[u];
                    total = total + w;
                });
                out[v] = total == 0.0 ? pm[v] : sum / total;
            }
        }
    }
}

}  // namespace nrx
