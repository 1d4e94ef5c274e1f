#include "phasemap/phase_fill.hpp"

namespace nrx {

void pad(const double* pm, const double* wmap, const GridDims dim, const double* kernel, const GridDims kdim,
         double* pm_out, double* wmap_out)
{
    std::size_t v = 0;
    for (std::uint32_t k = 0; k < dim[2]; ++k) {
        for (std::uint32_t j = 0; j < dim[1]; ++j) {
            for (std::uint32_t i = 0; i < dim[0]; ++i, ++v) {
                pm_out[v] = pm[v];
                wmap_out[v] = wmap[v];
                if (has_known_phase(wmap[v])) {
                    continue;
                }
                double sum = 0.0;
                std::uint32_t known = 0;
                for_each_in_box(i, j, k, v, dim, kernel, kdim, [&](double weight, std::int64_t u) {
                    if (has_known_phase(wmap[u])) {
                        sum = sum + weight * pm[u];
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
