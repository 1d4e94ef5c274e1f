// Jacobian determinants and the in-place affine transform on a field the size
// of a 1 mm brain volume (181 x 217 x 181). Output buffers are allocated and
// touched once before timing, so the figures exclude first-touch costs.
#include <benchmark/benchmark.h>

#include <vector>

#include "geometry/warp_affine.hpp"
#include "geometry/warp_jacobian.hpp"

namespace {

constexpr std::int32_t nx = 181, ny = 217, nz = 181;

struct BrainField {
    std::vector<float> c[3];
    BrainField()
    {
        for (auto& v : c) v.resize(static_cast<std::size_t>(nx) * ny * nz);
        std::size_t e = 0;
        for (int k = 0; k < nz; ++k)
            for (int j = 0; j < ny; ++j)
                for (int i = 0; i < nx; ++i, ++e) {
                    c[0][e] = 1.1f * i + 0.01f * j * j / ny;
                    c[1][e] = 0.9f * j + 0.02f * k;
                    c[2][e] = k + 0.5f * (i % 7) / 7.0f;
                }
    }
};

void jacobian(benchmark::State& state)
{
    BrainField f;
    std::vector<float> out(f.c[0].size(), 0.0f);
    const float m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    const nrx::Grid3 grid{nx, ny, nz};
    const float* field[3] = {f.c[0].data(), f.c[1].data(), f.c[2].data()};
    for (auto _ : state) {
        nrx::jacobian_determinants(field, grid, m, out.data(), [] {});
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(jacobian)->Unit(benchmark::kMillisecond);

void affine(benchmark::State& state)
{
    BrainField f;
    const double m[16] = {1, 0.01, 0, 0, 0, 1, 0.02, 0, 0, 0, 1, 0, 2, 3, 4, 1};
    for (auto _ : state) {
        nrx::apply_affine_to_field(f.c[0].data(), f.c[1].data(), f.c[2].data(), nx * ny * nz, m);
        benchmark::DoNotOptimize(f.c[0].data());
    }
}
BENCHMARK(affine)->Unit(benchmark::kMillisecond);

}  // namespace
