// One reader call's work on the real segment: obtain and attach it, copy all
// 600 headers or one full packet, detach. The first touch of each page after
// an attach is part of every call, so it is part of the figures.
//
// The segment's key is fixed: run this through scripts/private_ipc.sh, which
// gives it a private IPC namespace; anywhere else the benchmarks refuse to
// run, so that they never touch a live acquisition on this machine.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "acquisition/packets.hpp"
#include "acquisition/segment.hpp"
#include "tests/kernels/acquisition/private_ipc.hpp"

namespace {

using namespace nrx::acquisition;

// Five rows of 600 words, as nrx_acq_read returns them.
struct HeaderRows {
    std::vector<std::int32_t> words = std::vector<std::int32_t>(header_words * packet_count);
    std::int32_t* row[header_words];
    HeaderRows()
    {
        for (std::int32_t k = 0; k < header_words; ++k) row[k] = words.data() + k * packet_count;
    }
};

// Skips the benchmark unless it can attach a segment of its own.
bool attach_private(benchmark::State& state, Attachment& segment)
{
    if (!nrx_test::in_private_ipc_namespace()) {
        state.SkipWithError("not run through scripts/private_ipc.sh; not touching this machine's acquisition segment");
        return false;
    }
    if (segment.attach() != nullptr) {
        state.SkipWithError("cannot attach the segment");
        return false;
    }
    return true;
}

void headers_call(benchmark::State& state)
{
    Attachment keep_alive;  // the segment exists throughout, as with a running acquisition
    if (!attach_private(state, keep_alive)) return;
    HeaderRows out;
    for (auto _ : state) {
        Attachment segment;
        segment.attach();
        copy_headers(segment.words(), out.row, header_words);
        segment.detach();
        benchmark::DoNotOptimize(out.words.data());
    }
}
BENCHMARK(headers_call)->Unit(benchmark::kMicrosecond);

void packet_call(benchmark::State& state)
{
    Attachment keep_alive;
    if (!attach_private(state, keep_alive)) return;
    std::vector<std::int32_t> out(packet_samples);
    for (auto _ : state) {
        Attachment segment;
        segment.attach();
        copy_samples(segment.words(), 299, packet_samples, out.data());
        segment.detach();
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(packet_call)->Unit(benchmark::kMicrosecond);

// The copies alone, on a segment that stays attached: what the calls above
// spend on anything else is the attach, the page faults and the detach.
void headers_copy_only(benchmark::State& state)
{
    Attachment segment;
    if (!attach_private(state, segment)) return;
    HeaderRows out;
    for (auto _ : state) {
        copy_headers(segment.words(), out.row, header_words);
        benchmark::DoNotOptimize(out.words.data());
    }
}
BENCHMARK(headers_copy_only)->Unit(benchmark::kMicrosecond);

void packet_copy_only(benchmark::State& state)
{
    Attachment segment;
    if (!attach_private(state, segment)) return;
    std::vector<std::int32_t> out(packet_samples);
    for (auto _ : state) {
        copy_samples(segment.words(), 299, packet_samples, out.data());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(packet_copy_only)->Unit(benchmark::kMicrosecond);

}  // namespace
