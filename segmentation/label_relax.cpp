#include "segmentation/label_relax.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "core/neighbourhood.hpp"

namespace nrx {

namespace {

// The face neighbours in the order their products are summed, which fixes
// the rounding of the float sums.
const std::vector<Offset3> faces = {{0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}};

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

// Offsets are kept in 64 bits so that stepping past the last voxel of an
// axis near the 32-bit limit cannot overflow.
struct Sweep {
    Neighbourhood around;
    float face_weights[6];
    std::int32_t K;
    std::ptrdiff_t m;
    std::uint8_t* P;
    const float* F;
    const void* G;
    Interaction code;
    std::vector<float> q, p;  // neighbour sums, then energies and products

    void neighbour_sums(std::int32_t i, std::int32_t j, std::int32_t k, std::ptrdiff_t idx)
    {
        std::fill(q.begin(), q.end(), 0.0f);
        // Copied into the walk by value, so that they stay in registers.
        float* sums = q.data();
        const std::uint8_t* probabilities = P;
        const float* weights = face_weights;
        const std::int32_t classes = K;
        const std::ptrdiff_t stride = m;
        around.for_each(i, j, k, idx, [=](std::size_t face, std::int64_t neighbour) {
            const float weight = weights[face];
            const std::uint8_t* bytes = probabilities + neighbour;
            for (std::int32_t c = 0; c < classes; ++c) {
                sums[c] += weight * static_cast<float>(bytes[stride * c]);
            }
        });
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
        const std::ptrdiff_t idx = around.grid().index(i, j, k);
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

void relax_labels(const Grid3& grid, std::int32_t classes, const std::uint8_t* before, std::uint8_t* after,
                  const float* F, const void* G, const float w[3], Interaction code)
{
    if (after != before) {
        std::copy_n(before, grid.count() * classes, after);
    }
    Sweep sweep{Neighbourhood(grid, faces), {w[2], w[2], w[1], w[1], w[0], w[0]},
                classes, grid.count(), after, F, G, code,
                std::vector<float>(classes), std::vector<float>(classes)};
    for (int pass = 0; pass < 2; ++pass) {
        for (std::int32_t k = 0; k < grid.nz; ++k) {
            for (std::int32_t j = 0; j < grid.ny; ++j) {
                // Starts i so that i+j+k is even in pass 0 and odd in pass 1.
                const std::int32_t i0 = (j % 2) == static_cast<int>(k % 2 == pass) ? 1 : 0;
                // 64-bit, so that the last step past nx cannot overflow.
                for (std::int64_t i = i0; i < grid.nx; i += 2) {
                    sweep.update(static_cast<std::int32_t>(i), j, k);
                }
            }
        }
    }
}

}  // namespace nrx
