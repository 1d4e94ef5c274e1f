#include "segmentation/morphology_runs.hpp"

#include <vector>

namespace nrx::detail {

namespace {

// The loops are written once and compiled for each instruction set (none
// with FMA: each product is rounded before it is compared).
template <bool dilate>
[[gnu::always_inline]] inline void weighted(double* value, const double* a, const double* __restrict b,
                                            double weight, std::int64_t n)
{
    for (std::int64_t i = 0; i < n; ++i) {
        value[i] = weighted_step(dilate, a[i], weight * b[i]);
    }
}

template <bool dilate>
[[gnu::always_inline]] inline void box(double* value, const double* a, const double* __restrict b, std::int64_t n)
{
    for (std::int64_t i = 0; i < n; ++i) {
        const double v = a[i];
        const double p = b[i];
        value[i] = dilate ? (v > p || v != v ? v : p) : (v > p || p != p ? p : v);
    }
}

template <bool dilate>
void weighted_baseline(double* value, const double* a, const double* b, double weight, std::int64_t n)
{
    weighted<dilate>(value, a, b, weight, n);
}

template <bool dilate>
void box_baseline(double* value, const double* a, const double* b, std::int64_t n)
{
    box<dilate>(value, a, b, n);
}

template <bool dilate>
[[gnu::target("avx2")]] void weighted_avx2(double* value, const double* a, const double* b, double weight,
                                           std::int64_t n)
{
    weighted<dilate>(value, a, b, weight, n);
}

template <bool dilate>
[[gnu::target("avx2")]] void box_avx2(double* value, const double* a, const double* b, std::int64_t n)
{
    box<dilate>(value, a, b, n);
}

template <bool dilate>
[[gnu::target("avx512f")]] void weighted_avx512(double* value, const double* a, const double* b, double weight,
                                                std::int64_t n)
{
    weighted<dilate>(value, a, b, weight, n);
}

template <bool dilate>
[[gnu::target("avx512f")]] void box_avx512(double* value, const double* a, const double* b, std::int64_t n)
{
    box<dilate>(value, a, b, n);
}

const MorphologyRuns baseline_runs{weighted_baseline<true>, weighted_baseline<false>, box_baseline<true>,
                                   box_baseline<false>};
const MorphologyRuns avx2_runs{weighted_avx2<true>, weighted_avx2<false>, box_avx2<true>, box_avx2<false>};
const MorphologyRuns avx512_runs{weighted_avx512<true>, weighted_avx512<false>, box_avx512<true>,
                                 box_avx512<false>};

}  // namespace

std::vector<const MorphologyRuns*> supported_runs()
{
    std::vector<const MorphologyRuns*> runs{&baseline_runs};
    if (__builtin_cpu_supports("avx2")) {
        runs.push_back(&avx2_runs);
    }
    if (__builtin_cpu_supports("avx512f")) {
        runs.push_back(&avx512_runs);
    }
    return runs;
}

const MorphologyRuns& morphology_runs()
{
    static const MorphologyRuns* const widest = supported_runs().back();
    return *widest;
}

}  // namespace nrx::detail
