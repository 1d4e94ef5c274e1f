#include "phasemap/region_graph.hpp"

#include <cstdint>

namespace nrx {

std::size_t region_border_pairs(const double* rima, const double* pm, const Grid3& grid, std::vector<double>& i,
                                std::vector<double>& j, std::vector<double>& n, std::vector<double>& p)
{
    i.clear();
    j.clear();
    n.clear();
    p.clear();
    // Backward neighbours only, so that each pair is seen once. The three
    // steps are spelled out rather than walked with nrx::Neighbourhood: the
    // pass does little per neighbour, and the general walk made it half again
    // as slow.
    const std::int64_t back[3] = {grid.step({0, 0, 1}), grid.step({0, 1, 0}), grid.step({1, 0, 0})};
    std::int64_t v = 0;
    for (std::int32_t z = 0; z < grid.nz; ++z) {
        for (std::int32_t y = 0; y < grid.ny; ++y) {
            for (std::int32_t x = 0; x < grid.nx; ++x, ++v) {
                const double c = rima[v];
                if (c == 0.0) {
                    continue;
                }
                const bool has_previous[3] = {z > 0, y > 0, x > 0};
                for (int axis = 0; axis < 3; ++axis) {
                    if (!has_previous[axis]) {
                        continue;
                    }
                    const std::int64_t u = v - back[axis];
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
