#include "phasemap/region_graph.hpp"

namespace nrx {

std::size_t make_vectors(const double* rima, const double* pm, const GridDims dim, std::vector<double>& i,
                         std::vector<double>& j, std::vector<double>& n, std::vector<double>& p)
{
    i.clear();
    j.clear();
    n.clear();
    p.clear();
    const std::size_t step[3] = {1, dim[0], static_cast<std::size_t>(dim[0]) * dim[1]};
    std::size_t v = 0;
    for (std::uint32_t z = 0; z < dim[2]; ++z) {
        for (std::uint32_t y = 0; y < dim[1]; ++y) {
            for (std::uint32_t x = 0; x < dim[0]; ++x, ++v) {
                const double c = rima[v];
                if (c == 0.0) {
                    continue;
                }
                // Backward neighbours only, so that each pair is seen once.
                const bool has_previous[3] = {z > 0, y > 0, x > 0};
                const std::size_t back[3] = {step[2], step[1], step[0]};
                for (int axis = 0; axis < 3; ++axis) {
                    if (!has_previous[axis]) {
                        continue;
                    }
                    const std::size_t u = v - back[axis];
                    const double h = rima[u];
                    if (h == 0.0 || h == c) {
                        continue;
                    }
                    i.push_back(c > h ? h : c);
                    j.push_back(c > h ? c : h);
                    n.push_back(1.0);
                    p.push_back(h > c ? pm[v] - pm[u] : pm[u] - pm[v]);
                }
            }
        }
    }
    return i.size();
}

}  // namespace nrx
