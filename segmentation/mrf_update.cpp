#include "segmentation/mrf_update.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace nrx {

namespace {

// The byte of a scaled probability. Truncates toward zero like a plain
// conversion, but saturates where a plain conversion would be undefined:
// NaN and values below 0 give 0, values of 255 and more give 255, as the
// host's own conversion to uint8 does. Only negative or huge likelihoods
// reach the saturated ends.
std::uint8_t to_byte(double v)
{
    if (!(v > 0.0)) {
        return 0;
    }
    if (v >= 255.0) {
        return 255;
    }
    return static_cast<std::uint8_t>(v);
}

// Offsets are kept in ptrdiff_t so that stepping past the last voxel of an
// axis near the 32-bit limit cannot overflow.
struct Sweep {
    std::int32_t d0, d1, d2, K;
    std::ptrdiff_t m;
    std::uint8_t* P;
    const float* F;
    const void* G;
    const float* w;
    Interaction code;
    std::vector<float> q, p;  // neighbour sums, then energies and products

    void add_neighbour(std::ptrdiff_t neighbour, float weight)
    {
        for (std::int32_t c = 0; c < K; ++c) {
            q[c] += weight * static_cast<float>(P[neighbour + m * c]);
        }
    }

    void neighbour_sums(std::int32_t i, std::int32_t j, std::int32_t k, std::ptrdiff_t idx)
    {
        const std::ptrdiff_t plane = static_cast<std::ptrdiff_t>(d0) * d1;
        std::fill(q.begin(), q.end(), 0.0f);
        if (k > 0) add_neighbour(idx - plane, w[2]);
        if (k < d2 - 1) add_neighbour(idx + plane, w[2]);
        if (j > 0) add_neighbour(idx - d0, w[1]);
        if (j < d1 - 1) add_neighbour(idx + d0, w[1]);
        if (i > 0) add_neighbour(idx - 1, w[0]);
        if (i < d0 - 1) add_neighbour(idx + 1, w[0]);
        for (float& sum : q) {
            // Exact in either precision: a float quotient computed in double
            // and rounded once is the correctly rounded float quotient.
            sum = static_cast<float>(sum / 1530.0);
        }
    }

    // Writes the class energies into p.
    void energies(std::ptrdiff_t idx)
    {
        const float* g = static_cast<const float*>(G);
        switch (code) {
        case Interaction::matrix:
            for (std::int32_t c = 0; c < K; ++c) {
                float e = 0.0f;
                for (std::int32_t d = 0; d < K; ++d) e += q[d] * g[d + static_cast<std::ptrdiff_t>(K) * c];
                p[c] = e;
            }
            break;
        case Interaction::vector:
            for (std::int32_t c = 0; c < K; ++c) p[c] = q[c] * g[c];
            break;
        case Interaction::voxel_matrix:
            for (std::int32_t c = 0; c < K; ++c) {
                float e = 0.0f;
                for (std::int32_t d = 0; d < K; ++d) e += q[d] * g[idx + m * (d + static_cast<std::ptrdiff_t>(K) * c)];
                p[c] = e;
            }
            break;
        case Interaction::voxel_packed:
            packed_energies(g, idx);
            break;
        case Interaction::voxel_packed_u8:
            packed_energies(static_cast<const std::uint8_t*>(G), idx);
            break;
        }
    }

    template <typename Entry>
    void packed_energies(const Entry* g, std::ptrdiff_t idx)
    {
        std::fill(p.begin(), p.end(), 0.0f);
        std::ptrdiff_t t = 0;
        for (std::int32_t a = 0; a + 1 < K; ++a) {
            for (std::int32_t b = a + 1; b < K; ++b, ++t) {
                const float entry = static_cast<float>(g[idx + m * t]);
                p[a] += entry * q[b];
                p[b] += entry * q[a];
            }
        }
    }

    void update(std::int32_t i, std::int32_t j, std::int32_t k)
    {
        const std::ptrdiff_t idx = i + static_cast<std::ptrdiff_t>(d0) * (j + static_cast<std::ptrdiff_t>(d1) * k);
        neighbour_sums(i, j, k, idx);
        energies(idx);
        float s = 0.0f;
        for (std::int32_t c = 0; c < K; ++c) {
            const double e = p[c];
            const double factor = code == Interaction::voxel_packed_u8 ? std::exp(-0.0625 * e) : std::exp(e);
            p[c] = static_cast<float>(factor * static_cast<double>(F[idx + m * c]));
            s += p[c];
        }
        const float f = 255.0f / s;
        for (std::int32_t c = 0; c < K; ++c) {
            P[idx + m * c] = to_byte(static_cast<double>(f * p[c]) + 0.5);
        }
    }
};

}  // namespace

void mrf1(const std::int32_t dm[4], std::uint8_t* P, const float* F, const void* G, const float w[3],
          Interaction code)
{
    Sweep sweep{dm[0], dm[1], dm[2], dm[3],
                static_cast<std::ptrdiff_t>(dm[0]) * dm[1] * dm[2],
                P, F, G, w, code,
                std::vector<float>(dm[3]), std::vector<float>(dm[3])};
    for (int pass = 0; pass < 2; ++pass) {
        for (std::int32_t k = 0; k < sweep.d2; ++k) {
            for (std::int32_t j = 0; j < sweep.d1; ++j) {
                // Starts i so that i+j+k is even in pass 0 and odd in pass 1.
                const std::int32_t i0 = (j % 2) == static_cast<int>(k % 2 == pass) ? 1 : 0;
                // 64-bit, so that the last step past d0 cannot overflow.
                for (std::int64_t i = i0; i < sweep.d0; i += 2) {
                    sweep.update(static_cast<std::int32_t>(i), j, k);
                }
            }
        }
    }
}

}  // namespace nrx
