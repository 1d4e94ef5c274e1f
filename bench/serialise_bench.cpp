// Packing and unpacking a 100 MB double array (12.5 million elements, about
// a 1 mm brain volume in double with a few time points), against a plain
// memcpy of the same bytes. Every buffer is allocated and touched once before
// timing, so the figures exclude first-touch costs; compare the ratios of one
// run, not figures of different runs.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "serialise/elements.hpp"
#include "serialise/pack.hpp"
#include "serialise/unpack.hpp"

namespace {

constexpr std::size_t count = 100'000'000 / sizeof(double);

std::vector<double> volume()
{
    std::vector<double> data(count);
    for (std::size_t i = 0; i < count; ++i) {
        data[i] = 0.5 * static_cast<double>(i % 1000);
    }
    return data;
}

nrx::Value value_of(const std::vector<double>& data)
{
    nrx::Value value;
    value.dims = {250, 250, 200};
    value.real = {nrx::ElementType::float64, data.data(), data.size()};
    return value;
}

void report_bytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * count * sizeof(double)));
}

void memory_copy(benchmark::State& state)
{
    const std::vector<double> data = volume();
    std::vector<double> out(count, 1.0);
    for (auto _ : state) {
        std::memcpy(out.data(), data.data(), count * sizeof(double));
        benchmark::DoNotOptimize(out.data());
    }
    report_bytes(state);
}

void pack(benchmark::State& state)
{
    const std::vector<double> data = volume();
    const nrx::Value value = value_of(data);
    std::vector<std::uint8_t> out(nrx::packed_size(value), 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(nrx::packed_size(value));
        nrx::write_packed(value, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    report_bytes(state);
}

void unpack(benchmark::State& state)
{
    const std::vector<double> data = volume();
    const nrx::Value value = value_of(data);
    std::vector<std::uint8_t> packed(nrx::packed_size(value));
    nrx::write_packed(value, packed.data());
    std::vector<double> out(count, 1.0);
    for (auto _ : state) {
        const nrx::Value unpacked = nrx::unpack_value(packed.data(), packed.size());
        nrx::copy_elements(unpacked.real, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    report_bytes(state);
}

BENCHMARK(memory_copy)->Unit(benchmark::kMillisecond);
BENCHMARK(pack)->Unit(benchmark::kMillisecond);
BENCHMARK(unpack)->Unit(benchmark::kMillisecond);

}  // namespace
