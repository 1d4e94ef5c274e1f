// The four segmentation kernels on a volume the size of a 1 mm brain scan
// (181 x 217 x 181): the label relaxation with K = 6 classes, the geodesic
// parcels of 300 seeds in an ellipsoidal brain-shaped mask, dilation with
// 3 x 3 x 3 kernels and the local peaks among every tenth mask voxel. Inputs
// and outputs are allocated and touched once before timing, so the figures
// exclude first-touch costs; each iteration of the label relaxation updates a
// separate buffer from the same start (its copy included).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "segmentation/geo_parcels.hpp"
#include "segmentation/label_relax.hpp"
#include "segmentation/local_peaks.hpp"
#include "segmentation/morphology.hpp"

namespace {

constexpr std::int32_t nx = 181, ny = 217, nz = 181;
constexpr std::int32_t voxels = nx * ny * nz;
const nrx::Grid3 grid{nx, ny, nz};

// A smooth intensity inside an ellipsoid filling most of the box, 0 outside.
std::vector<double> brain_mask()
{
    std::vector<double> img(voxels);
    std::size_t e = 0;
    for (int k = 0; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i, ++e) {
                const double x = (i - 90.0) / 72, y = (j - 108.0) / 90, z = (k - 90.0) / 68;
                const double r = x * x + y * y + z * z;
                img[e] = r < 1 ? 100 * (1.2 - r) + 10 * std::sin(0.3 * i) * std::cos(0.2 * j + 0.1 * k) : 0;
            }
    return img;
}

void label_relax(benchmark::State& state)
{
    constexpr std::int32_t K = 6;
    std::mt19937 gen(1);
    std::vector<std::uint8_t> start(static_cast<std::size_t>(voxels) * K);
    std::vector<float> F(start.size());
    for (std::size_t e = 0; e < start.size(); ++e) {
        start[e] = static_cast<std::uint8_t>(gen() % 256);
        F[e] = static_cast<float>(gen() % 1000) / 1000.0f;
    }
    std::vector<float> G(K * K);
    for (std::int32_t d = 0; d < K; ++d)
        for (std::int32_t c = 0; c < K; ++c) G[d + K * c] = d == c ? 2.0f : -0.5f;
    const float w[3] = {1, 1, 1};
    std::vector<std::uint8_t> P = start;
    for (auto _ : state) {
        nrx::relax_labels(grid, K, start.data(), P.data(), F.data(), G.data(), w, nrx::Interaction::matrix);
        benchmark::DoNotOptimize(P.data());
    }
}
BENCHMARK(label_relax)->Unit(benchmark::kMillisecond);

void geo_parcels(benchmark::State& state, const char* type)
{
    const std::vector<double> img = brain_mask();
    std::mt19937 gen(2);
    constexpr std::int32_t n = 300;
    std::vector<double> seeds(3 * n);
    for (std::int32_t s = 0; s < n;) {
        const std::int32_t i = gen() % nx, j = gen() % ny, k = gen() % nz;
        if (img[i + nx * (j + ny * k)] > 0) {
            seeds[s] = i + 1.0;
            seeds[s + n] = j + 1.0;
            seeds[s + 2 * n] = k + 1.0;
            ++s;
        }
    }
    std::vector<double> labels(voxels, 0.0), dists(voxels, 0.0);
    for (auto _ : state) {
        nrx::grow_geodesic_parcels(img.data(), grid, seeds.data(), n, labels.data(), dists.data(), type);
        benchmark::DoNotOptimize(labels.data());
    }
}
BENCHMARK_CAPTURE(geo_parcels, d34, "d34")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(geo_parcels, d5711, "d5711")->Unit(benchmark::kMillisecond);

// A box of ones (the maximum filter) and a kernel of other weights, which
// takes the general path.
void dilation(benchmark::State& state, double weight)
{
    const std::vector<double> img = brain_mask();
    const std::vector<double> kernel(27, weight);
    std::vector<double> out = img;
    for (auto _ : state) {
        nrx::dilate_or_erode(img.data(), grid, kernel.data(), {3, 3, 3}, true, out.data());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK_CAPTURE(dilation, ones, 1.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(dilation, weighted, 0.5)->Unit(benchmark::kMillisecond);

void local_peaks(benchmark::State& state)
{
    const std::vector<double> img = brain_mask();
    std::vector<double> coords;
    for (std::int32_t v = 0; v < voxels; v += 10) {
        if (img[v] > 0) {
            coords.insert(coords.end(), {v % nx + 1.0, v / nx % ny + 1.0, v / (nx * ny) + 1.0});
        }
    }
    const std::int32_t n = static_cast<std::int32_t>(coords.size() / 3);
    std::vector<std::uint32_t> peaks;
    for (auto _ : state) {
        benchmark::DoNotOptimize(nrx::find_local_peaks(img.data(), grid, coords.data(), n, 18, peaks));
    }
    state.counters["candidates"] = n;
}
BENCHMARK(local_peaks)->Unit(benchmark::kMillisecond);

}  // namespace
