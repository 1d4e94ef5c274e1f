#include "phasemap/phase_fill.hpp"

#include <vector>

#include "core/neighbourhood.hpp"

namespace nrx {

void fill_empty_phase(const double* pm, const double* wmap, const Grid3& grid, const double* kernel,
                      const Grid3& kernel_grid, double* pm_out, double* wmap_out)
{
    const std::vector<BoxElement> box = box_elements(kernel_grid);
    const Neighbourhood around(grid, offsets_of(box));
    std::int64_t v = 0;
    for (std::int32_t z = 0; z < grid.nz; ++z) {
        for (std::int32_t y = 0; y < grid.ny; ++y) {
            for (std::int32_t x = 0; x < grid.nx; ++x, ++v) {
                pm_out[v] = pm[v];
                wmap_out[v] = wmap[v];
                if (has_known_phase(wmap[v])) {
                    continue;
                }
                double sum = 0.0;
                std::int64_t known = 0;
                around.for_each(x, y, z, v, [&](std::size_t k, std::int64_t u) {
                    if (has_known_phase(wmap[u])) {
                        sum = sum + kernel[box[k].element] * pm[u];
                        ++known;
                    }
                });
                if (known > 0) {
                    pm_out[v] = sum / known;
                    wmap_out[v] = 1.0;
                }
            }
        }
    }
}

}  // namespace nrx
