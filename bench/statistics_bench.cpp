// NaN counting along each dimension of a 1 mm brain volume (181 x 217 x 181
// doubles, a tenth NaN), by the walk nan_reduce chooses and by one strided
// fibre at a time; 10^7 gamma samples; and the gamma sampler's window of
// uniforms by each instruction set. Output buffers are allocated and touched
// once before timing, so the figures exclude first-touch costs.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "statistics/gamma_sampler.hpp"
#include "statistics/nan_reduce.hpp"
#include "statistics/nan_reduce_detail.hpp"
#include "statistics/wichmann_hill.hpp"

namespace {

const std::vector<std::int32_t> dims = {181, 217, 181};

const std::vector<double>& brain_volume()
{
    static const std::vector<double> volume = [] {
        std::vector<double> v(static_cast<std::size_t>(dims[0]) * dims[1] * dims[2]);
        for (std::size_t e = 0; e < v.size(); ++e) {
            v[e] = e % 10 == 3 ? NAN : 0.001 * static_cast<double>(e % 997);
        }
        return v;
    }();
    return volume;
}

using Walk = void (*)(const double*, const std::int32_t*, std::int32_t, std::int32_t, double*);

void count_along(benchmark::State& state, Walk walk)
{
    const std::int32_t d = static_cast<std::int32_t>(state.range(0));
    const std::vector<double>& x = brain_volume();
    std::vector<double> y(x.size() / dims[d], 0.0);
    for (auto _ : state) {
        walk(x.data(), dims.data(), 3, d, y.data());
        benchmark::DoNotOptimize(y.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(x.size() * sizeof(double)));
}
BENCHMARK_CAPTURE(count_along, nan_reduce, &nrx::nan_reduce<double>)
    ->ArgName("d")->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(count_along, one_fibre_at_a_time, &nrx::detail::nan_reduce_fibres<double>)
    ->ArgName("d")->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void gamma_samples(benchmark::State& state)
{
    const double shape = static_cast<double>(state.range(0)) / 10.0;
    constexpr std::int32_t n = 10000000;
    std::vector<double> r(n, 0.0);
    nrx::WichmannHill generator;
    for (auto _ : state) {
        nrx::gamma_fill(generator, shape, 1.0, r.data(), n);
        benchmark::DoNotOptimize(r.data());
    }
}
// Shapes 0.5 and 2 (the argument is ten times the shape).
BENCHMARK(gamma_samples)->ArgName("shape_x10")->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(1);

void make_uniforms(benchmark::State& state)
{
    using nrx::detail::UniformStream;
    const auto vectors = static_cast<nrx::Vectors>(state.range(0));
    if (!nrx::runs(vectors)) {
        state.SkipWithError("this processor does not run these vectors");
        return;
    }
    std::vector<double> window(UniformStream::capacity, 0.0);
    for (auto _ : state) {
        nrx::detail::make_uniforms(nrx::WichmannHill{}, 0, UniformStream::capacity, window.data(), vectors);
        benchmark::DoNotOptimize(window.data());
    }
    state.SetItemsProcessed(state.iterations() * UniformStream::capacity);
}
// Baseline, AVX2, AVX-512.
BENCHMARK(make_uniforms)->ArgName("vectors")->DenseRange(0, 2);

}  // namespace
