// The phase-map kernels on a map the size of a 1 mm brain volume
// (181 x 217 x 181), filters with a 3x3x3 kernel. Inputs and outputs are
// allocated and touched once before timing, so the figures exclude
// allocating and first touching the output. The kernels run on
// OMP_NUM_THREADS threads (all cores when unset).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "phasemap/phase_fill.hpp"
#include "phasemap/ramps.hpp"
#include "phasemap/region_graph.hpp"
#include "phasemap/weighted_blur.hpp"

namespace {

constexpr std::int32_t nx = 181, ny = 217, nz = 181;
const nrx::Grid3 grid{nx, ny, nz};
const nrx::Grid3 box{3, 3, 3};

// A wrapped phase ramp over an ellipsoidal head; outside it the mask, weights
// and labels are 0. Inside, one voxel in seven has weight 0 (to be filled),
// and the labels cut the head into slabs of eight voxels along each axis.
struct BrainMap {
    std::vector<double> pm, mask, wmap, labels;
    BrainMap()
    {
        const std::size_t count = grid.count();
        pm.resize(count);
        mask.resize(count);
        wmap.resize(count);
        labels.resize(count);
        std::size_t v = 0;
        for (std::int32_t k = 0; k < nz; ++k)
            for (std::int32_t j = 0; j < ny; ++j)
                for (std::int32_t i = 0; i < nx; ++i, ++v) {
                    const double x = (i - 90.0) / 80.0, y = (j - 108.0) / 100.0, z = (k - 90.0) / 80.0;
                    const bool head = x * x + y * y + z * z < 1.0;
                    pm[v] = std::remainder(0.3 * i - 0.2 * j + 0.05 * k, 2 * M_PI);
                    mask[v] = head ? 1.0 : 0.0;
                    wmap[v] = head && v % 7 != 0 ? 1.0 + 0.01 * (v % 13) : 0.0;
                    labels[v] = head ? 1.0 + i / 8 + 23 * (j / 8) + 23 * 28 * (k / 8) : 0.0;
                }
    }
};

const BrainMap& brain()
{
    static const BrainMap map;
    return map;
}

void fit_ramp(benchmark::State& state)
{
    const BrainMap& b = brain();
    std::vector<double> out(b.pm.size(), 0.0);
    for (auto _ : state) {
        double ramp[3];
        nrx::fit_ramp(b.pm.data(), b.mask.data(), grid, ramp, out.data());
        benchmark::DoNotOptimize(ramp);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(fit_ramp)->Unit(benchmark::kMillisecond);

void add_ramp(benchmark::State& state)
{
    const BrainMap& b = brain();
    std::vector<double> out(b.pm.size(), 0.0);
    const double ramp[3] = {0.3, -0.2, 0.05};
    for (auto _ : state) {
        nrx::add_ramp(b.pm.data(), b.mask.data(), grid, ramp, out.data());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(add_ramp)->Unit(benchmark::kMillisecond);

void region_border_pairs(benchmark::State& state)
{
    const BrainMap& b = brain();
    std::vector<double> i, j, n, p;
    for (auto _ : state) {
        benchmark::DoNotOptimize(nrx::region_border_pairs(b.labels.data(), b.pm.data(), grid, i, j, n, p));
    }
    state.counters["rows"] = static_cast<double>(i.size());
}
BENCHMARK(region_border_pairs)->Unit(benchmark::kMillisecond);

void fill_empty_phase(benchmark::State& state)
{
    const BrainMap& b = brain();
    const std::vector<double> kernel(27, 1.0);
    std::vector<double> pm_out(b.pm.size(), 0.0), wmap_out(b.pm.size(), 0.0);
    for (auto _ : state) {
        nrx::fill_empty_phase(b.pm.data(), b.wmap.data(), grid, kernel.data(), box, pm_out.data(), wmap_out.data());
        benchmark::DoNotOptimize(pm_out.data());
    }
}
BENCHMARK(fill_empty_phase)->Unit(benchmark::kMillisecond);

void weighted_blur(benchmark::State& state)
{
    const BrainMap& b = brain();
    std::vector<double> kernel(27);
    for (std::size_t e = 0; e < kernel.size(); ++e) kernel[e] = 1.0 + 0.1 * e;
    std::vector<double> out(b.pm.size(), 0.0);
    for (auto _ : state) {
        nrx::weighted_blur(b.pm.data(), b.wmap.data(), grid, kernel.data(), box, out.data());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(weighted_blur)->Unit(benchmark::kMillisecond);

}  // namespace
