// The joint histogram of two volumes the size of a 1 mm brain scan
// (181 x 217 x 181 uint8) under a rotation with the default unit skips, and
// maximum-intensity projections of a million points of such a brain in
// either layout. The histogram and MIP buffers are allocated and touched
// once before timing, so the figures exclude first-touch costs; each kernel
// clears its output itself.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "registration/joint_histogram.hpp"
#include "registration/mip_render.hpp"

namespace {

constexpr std::int32_t nx = 181, ny = 217, nz = 181;

// A smooth head-like blob with some noise, so that both volumes have
// structure and the histogram is not one bin.
std::vector<std::uint8_t> brain_volume(unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> noise(0, 20);
    std::vector<std::uint8_t> v(static_cast<std::size_t>(nx) * ny * nz);
    std::size_t e = 0;
    for (int k = 0; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i, ++e) {
                const double r = std::hypot(std::hypot((i - nx / 2.0) / 80.0, (j - ny / 2.0) / 95.0),
                                            (k - nz / 2.0) / 75.0);
                const double level = r < 1.0 ? 200.0 * (1.0 - r * r) + 30.0 * std::cos(0.3 * i) : 0.0;
                v[e] = static_cast<std::uint8_t>(std::clamp(level + noise(generator), 0.0, 255.0));
            }
    return v;
}

void joint_histogram_rotation(benchmark::State& state)
{
    const std::vector<std::uint8_t> v1 = brain_volume(1), v2 = brain_volume(2);
    const nrx::Grid3 grid{nx, ny, nz};
    // 10 degrees about z through the volume's centre, then a small shift.
    const double a = 10.0 * M_PI / 180.0, c = std::cos(a), s = std::sin(a);
    const double cx = nx / 2.0, cy = ny / 2.0;
    const double m[16] = {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0,
                          cx - c * cx + s * cy + 1.5, cy - s * cx - c * cy - 2.0, 0.75, 1};
    const float skips[3] = {1.0f, 1.0f, 1.0f};
    std::vector<double> h(256 * 256);
    for (auto _ : state) {
        nrx::joint_histogram(m, v1.data(), grid, v2.data(), grid, skips, h.data());
        benchmark::DoNotOptimize(h.data());
    }
}
BENCHMARK(joint_histogram_rotation)->Unit(benchmark::kMillisecond);

// state.range(0): 0 for the general layout (400 x 364), 1 for the fixed
// one (360 x 352). Points fill a brain-sized box around the origin, with
// extents of 2 pixels: 3 x 3 pixels per view in the general layout, 2 x 2 in
// the fixed one.
void mip_million_points(benchmark::State& state)
{
    const std::int32_t n = 1000000;
    std::mt19937 generator(3);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<double> values(n), locations;
    locations.reserve(3 * static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        values[i] = 100.0 * (unit(generator) + 1.0);
        locations.insert(locations.end(), {70 * unit(generator), 90 * unit(generator), 60 * unit(generator)});
    }
    const bool fixed = state.range(0) == 1;
    const nrx::MipSize size = fixed ? nrx::MipSize{360, 352} : nrx::MipSize{400, 364};
    const double dims[5] = {2, 2, 2, static_cast<double>(size.rows), static_cast<double>(size.columns)};
    std::vector<double> mip(static_cast<std::size_t>(size.rows) * size.columns);
    const nrx::MipPoints points{values.data(), locations.data(), n};
    for (auto _ : state) {
        nrx::render_mip(points, dims, nullptr, nullptr, size, mip.data());
        benchmark::DoNotOptimize(mip.data());
    }
}
BENCHMARK(mip_million_points)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
