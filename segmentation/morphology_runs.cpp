#include "segmentation/morphology_runs.hpp"

#include <vector>

#include "core/vectors.hpp"

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

// Both loops built for one instruction set, and the table of that build.
#define NRX_MORPHOLOGY_BUILD(name, target)                                                                  \
    template <bool dilate>                                                                                  \
    target void weighted_##name(double* value, const double* a, const double* b, double weight, std::int64_t n) \
    {                                                                                                       \
        weighted<dilate>(value, a, b, weight, n);                                                           \
    }                                                                                                       \
    template <bool dilate>                                                                                  \
    target void box_##name(double* value, const double* a, const double* b, std::int64_t n)                 \
    {                                                                                                       \
        box<dilate>(value, a, b, n);                                                                        \
    }                                                                                                       \
    const MorphologyRuns name##_runs{weighted_##name<true>, weighted_##name<false>, box_##name<true>,       \
                                     box_##name<false>};

NRX_MORPHOLOGY_BUILD(baseline, )
NRX_MORPHOLOGY_BUILD(avx2, [[gnu::target("avx2")]])
NRX_MORPHOLOGY_BUILD(avx512, [[gnu::target("avx512f")]])
#undef NRX_MORPHOLOGY_BUILD

}  // namespace

std::vector<const MorphologyRuns*> supported_runs()
{
    std::vector<const MorphologyRuns*> builds{&baseline_runs};
    if (runs(Vectors::avx2)) {
        builds.push_back(&avx2_runs);
    }
    if (runs(Vectors::avx512)) {
        builds.push_back(&avx512_runs);
    }
    return builds;
}

const MorphologyRuns& morphology_runs()
{
    static const MorphologyRuns* const widest = supported_runs().back();
    return *widest;
}

}  // namespace nrx::detail
