// The inner loops of grey-level dilation and erosion, each over a run of
// consecutive voxels of a row. Internal to that kernel (and its tests).
//
// Each run reads the running values from a and writes them to value, which
// may be a itself (in place) but must not otherwise overlap a or b. Each
// lane does the same IEEE operations as the scalar rule, so every build gives
// the same bits; the wide one only takes more voxels at a time.
#pragma once

#include <cstdint>
#include <vector>

namespace nrx::detail {

// The rule of one kernel element for one voxel: the running value v against
// p, the element's weight times the neighbour.
inline double weighted_step(bool dilate, double v, double p) { return dilate ? (v > p ? v : p) : (v > p ? p : v); }

// One kernel weight over a run: for i in [0, n),
// value[i] = weighted_step(dilate, a[i], weight * b[i]).
using WeightedRun = void (*)(double* value, const double* a, const double* b, double weight, std::int64_t n);

// One step of the maximum (dilation) or minimum (erosion) over a box of
// ones: for i in [0, n), value[i] = b[i] when b[i] >= a[i] (dilation: of
// equal values the later one is kept) or b[i] < a[i] (erosion: the earlier
// one is kept), else a[i]; NaN on either side gives NaN.
using BoxRun = void (*)(double* value, const double* a, const double* b, std::int64_t n);

struct MorphologyRuns {
    WeightedRun dilate, erode;
    BoxRun dilate_box, erode_box;
};

// The builds of the same loops this processor can run: baseline x86-64
// (SSE2), then AVX2 and AVX-512 where supported, narrowest first.
std::vector<const MorphologyRuns*> supported_runs();

// The widest of them, which the kernel uses: the one place the choice is made.
const MorphologyRuns& morphology_runs();

}  // namespace nrx::detail
