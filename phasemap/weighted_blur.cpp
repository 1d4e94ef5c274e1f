#include "phasemap/weighted_blur.hpp"

namespace nrx {

void smooth(const double* pm, const double* wmap, const GridDims dim, const double* kernel, const GridDims kdim,
            double* out)
{
    std::size_t v = 0;
    for (std::uint32_t k = 0; k < dim[2]; ++k) {
        for (std::uint32_t j = 0; j < dim[1]; ++j) {
            for (std::uint32_t i = 0; i < dim[0]; ++i, ++v) {
                double sum = 0.0;
                double total = 0.0;
                for_each_in_box(i, j, k, v, dim, kernel, kdim, [&](double kernel_value, std::int64_t u) {
                    const double w = kernel_value * wmap[u];
                    sum = sum + w * pm[u];
                    total = total + w;
                });
                out[v] = total == 0.0 ? pm[v] : sum / total;
            }
        }
    }
}

}  // namespace nrx
