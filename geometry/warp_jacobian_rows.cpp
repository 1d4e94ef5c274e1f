// The Jacobian's inner loop: voxels of one parity along a row, side by side
// in vector lanes. Voxels of one parity lie two elements apart, so each
// distinct corner's values are first copied into a contiguous lane block
// once; every tetrahedron then reads its twelve corner values from those
// blocks with unit stride.
#include <algorithm>

#include "geometry/warp_jacobian_detail.hpp"

namespace nrx::detail {

namespace {

// Voxels per block: the copied corner values (19 corners x 3 components)
// stay within 15 kB, in the first-level cache.
constexpr std::int32_t lanes = 64;

// The body of every variant; inlined into each so that it is vectorised for
// that variant's instruction set.
[[gnu::always_inline]] inline void parity_row_lanes(const float* const field[3], std::int64_t e, std::int32_t n,
                                                    const ParityStencil& stencil, float* out)
{
    float corner_values[ParityStencil::max_corners * 3 * lanes];
    float num[lanes];
    for (std::int32_t first = 0; first < n; first += lanes) {
        const std::int32_t count = std::min(lanes, n - first);
        const std::int64_t e0 = e + 2 * std::int64_t{first};
        for (int q = 0; q < stencil.corner_count; ++q) {
            for (int c = 0; c < 3; ++c) {
                const float* __restrict from = field[c] + e0 + stencil.corner_offsets[q];
                float* __restrict to = corner_values + (3 * q + c) * lanes;
                for (std::int32_t v = 0; v < count; ++v) to[v] = from[2 * v];
            }
        }

        for (std::int32_t v = 0; v < count; ++v) num[v] = 0.0f;
        for (int t = 0; t < stencil.tetrahedron_count; ++t) {
            const TetrahedronRecord& record = stencil.tetrahedra[t];
            const float* b = record.B;
            const float w = record.w;
            // y[c][q]: component c at corner q, for corners 0 (the voxel) to 3.
            const float* __restrict y[3][4];
            for (int c = 0; c < 3; ++c) {
                y[c][0] = corner_values + c * lanes;
                for (int q = 1; q < 4; ++q) y[c][q] = corner_values + (3 * stencil.corners[t][q - 1] + c) * lanes;
            }
            for (std::int32_t v = 0; v < count; ++v) {
                float l[3][3];
                for (int r = 0; r < 3; ++r) {
                    for (int s = 0; s < 3; ++s) {
                        const float* bs = b + 4 * s;
                        l[r][s] = y[r][0][v] * bs[0] + y[r][1][v] * bs[1] + y[r][2][v] * bs[2] + y[r][3][v] * bs[3];
                    }
                }
                const float d = l[0][0] * (l[1][1] * l[2][2] - l[2][1] * l[1][2]) +
                                l[0][1] * (l[1][2] * l[2][0] - l[2][2] * l[1][0]) +
                                l[0][2] * (l[1][0] * l[2][1] - l[2][0] * l[1][1]);
                num[v] = num[v] + d * w;
            }
        }
        for (std::int32_t v = 0; v < count; ++v) out[2 * std::int64_t{first + v}] = num[v] / stencil.den;
    }
}

}  // namespace

void parity_row_baseline(const float* const field[3], std::int64_t e, std::int32_t n, const ParityStencil& stencil,
                         float* out)
{
    parity_row_lanes(field, e, n, stencil, out);
}

// AVX2 brings wider vectors only: fused multiply-add is a separate
// instruction set, not enabled here.
[[gnu::target("avx2")]] void parity_row_avx2(const float* const field[3], std::int64_t e, std::int32_t n,
                                             const ParityStencil& stencil, float* out)
{
    parity_row_lanes(field, e, n, stencil, out);
}

ParityRow parity_row_for_this_cpu() { return runs(Vectors::avx2) ? parity_row_avx2 : parity_row_baseline; }

}  // namespace nrx::detail
