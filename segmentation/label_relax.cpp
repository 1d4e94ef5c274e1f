#include "segmentation/label_relax.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "core/planes.hpp"

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

// The face neighbours in the order their products are summed, which fixes
// the rounding of the float sums, and the axis whose weight each takes.
struct Face {
    Offset3 offset;
    int axis;
};
const Face faces[6] = {{{0, 0, -1}, 2}, {{0, 0, 1}, 2}, {{0, -1, 0}, 1},
                       {{0, 1, 0}, 1},  {{-1, 0, 0}, 0}, {{1, 0, 0}, 0}};

// The voxels of one colour in one row are every other voxel: the sweep
// computes them side by side, each "lane" t standing for voxel i0 + 2t, and
// every step below is a loop over the lanes doing, for each voxel, exactly
// the operations of the voxel-by-voxel rule in its order (the compiler turns
// these loops into vector code). The voxels of one pass never read one
// another, so the rows, and the planes, of a pass are independent.
struct Lanes {
    std::int64_t n;               // voxels of the colour in the row
    std::vector<float> q, e, p;   // per class c, lanes c*n .. c*n+n-1
    std::vector<float> scale;     // per lane

    Lanes(std::int32_t classes, std::int32_t nx)
        : n(0), q(static_cast<std::size_t>(classes) * (nx / 2 + 1)), e(q.size()), p(q.size()), scale(nx / 2 + 1)
    {
    }
};

class Sweep {
public:
    Sweep(const Grid3& grid, std::int32_t classes, std::uint8_t* P, const float* F, const void* G, const float w[3],
          Interaction code)
        : grid_(grid), K_(classes), m_(grid.count()), P_(P), F_(F), G_(G), w_{w[0], w[1], w[2]}, code_(code)
    {
    }

    // Updates the voxels of colour `pass` in row (j, k).
    void row(std::int64_t j, std::int64_t k, int pass, Lanes& lanes) const
    {
        const std::int64_t i0 = (j + k + pass) % 2;
        lanes.n = (grid_.nx - i0 + 1) / 2;
        if (lanes.n <= 0) {
            return;
        }
        const std::int64_t first = grid_.index(i0, j, k);
        neighbour_sums(first, i0, j, k, lanes);
        energies(first, lanes);
        write(first, lanes);
    }

private:
    Grid3 grid_;
    std::int32_t K_;
    std::int64_t m_;
    std::uint8_t* P_;
    const float* F_;
    const void* G_;
    float w_[3];
    Interaction code_;

    // q[c] = sum over the faces inside, in face order, of weight * P(c),
    // then q[c] / 1530 in double, rounded once to float.
    void neighbour_sums(std::int64_t first, std::int64_t i0, std::int64_t j, std::int64_t k, Lanes& lanes) const
    {
        const std::int64_t n = lanes.n;
        std::fill_n(lanes.q.begin(), K_ * n, 0.0f);
        for (const Face& face : faces) {
            const Offset3& o = face.offset;
            if (!grid_.contains(0, j + o.dy, k + o.dz)) {
                continue;
            }
            // Along x only the first or last voxel of the row can lack the neighbour.
            const std::int64_t begin = i0 + o.dx < 0 ? 1 : 0;
            const std::int64_t end = i0 + 2 * (n - 1) + o.dx >= grid_.nx ? n - 1 : n;
            const std::uint8_t* bytes = P_ + first + 2 * begin + grid_.step(o);
            for (std::int32_t c = 0; c < K_; ++c) {
                add_weighted(lanes.q.data() + c * n + begin, bytes + m_ * c, w_[face.axis], end - begin);
            }
        }
        divide(lanes.q.data(), K_ * n);
    }

    static void add_weighted(float* __restrict q, const std::uint8_t* __restrict bytes, float weight,
                             std::int64_t n)
    {
        for (std::int64_t t = 0; t < n; ++t) {
            q[t] += weight * static_cast<float>(bytes[2 * t]);
        }
    }

    static void divide(float* q, std::int64_t count)
    {
        for (std::int64_t t = 0; t < count; ++t) {
            // Exact in either precision: a float quotient computed in double
            // and rounded once is the correctly rounded float quotient.
            q[t] = static_cast<float>(q[t] / 1530.0);
        }
    }

    // e[c], each sum in float in the order of d (or of the pairs).
    void energies(std::int64_t first, Lanes& lanes) const
    {
        const std::int64_t n = lanes.n;
        const float* q = lanes.q.data();
        float* e = lanes.e.data();
        const float* g = static_cast<const float*>(G_);
        switch (code_) {
        case Interaction::matrix:
            for (std::int32_t c = 0; c < K_; ++c) {
                std::fill_n(e + c * n, n, 0.0f);
                for (std::int32_t d = 0; d < K_; ++d) {
                    add_scaled(e + c * n, q + d * n, g[d + static_cast<std::ptrdiff_t>(K_) * c], n);
                }
            }
            break;
        case Interaction::vector:
            for (std::int32_t c = 0; c < K_; ++c) {
                for (std::int64_t t = 0; t < n; ++t) {
                    e[c * n + t] = q[c * n + t] * g[c];
                }
            }
            break;
        case Interaction::voxel_matrix:
            for (std::int32_t c = 0; c < K_; ++c) {
                std::fill_n(e + c * n, n, 0.0f);
                for (std::int32_t d = 0; d < K_; ++d) {
                    add_own(e + c * n, q + d * n, g + first + m_ * (d + static_cast<std::ptrdiff_t>(K_) * c), n);
                }
            }
            break;
        case Interaction::voxel_packed:
            packed_energies(g + first, lanes);
            break;
        case Interaction::voxel_packed_u8:
            packed_energies(static_cast<const std::uint8_t*>(G_) + first, lanes);
            break;
        }
    }

    // e[t] += q[t] * g.
    static void add_scaled(float* __restrict e, const float* __restrict q, float g, std::int64_t n)
    {
        for (std::int64_t t = 0; t < n; ++t) {
            e[t] += q[t] * g;
        }
    }

    // e[t] += q[t] * g of lane t's own voxel.
    static void add_own(float* __restrict e, const float* __restrict q, const float* __restrict g, std::int64_t n)
    {
        for (std::int64_t t = 0; t < n; ++t) {
            e[t] += q[t] * g[2 * t];
        }
    }

    // For each pair t = (a, b) in order: e[a] += g*q[b], then e[b] += g*q[a].
    template <typename Entry>
    void packed_energies(const Entry* g, Lanes& lanes) const
    {
        const std::int64_t n = lanes.n;
        const float* q = lanes.q.data();
        float* e = lanes.e.data();
        std::fill_n(e, K_ * n, 0.0f);
        std::ptrdiff_t t = 0;
        for (std::int32_t a = 0; a + 1 < K_; ++a) {
            for (std::int32_t b = a + 1; b < K_; ++b, ++t) {
                const Entry* entries = g + m_ * t;
                add_pair(e + a * n, q + b * n, entries, n);
                add_pair(e + b * n, q + a * n, entries, n);
            }
        }
    }

    // e[t] += g * q[t]: the packed forms multiply in this order.
    template <typename Entry>
    static void add_pair(float* __restrict e, const float* __restrict q, const Entry* __restrict g, std::int64_t n)
    {
        for (std::int64_t t = 0; t < n; ++t) {
            e[t] += static_cast<float>(g[2 * t]) * q[t];
        }
    }

    // p[c] = exp(e[c]) * F(c) in double, rounded to float; s = sum of p in
    // class order; f = 255 / s; then the bytes.
    void write(std::int64_t first, Lanes& lanes) const
    {
        const std::int64_t n = lanes.n;
        const bool penalties = code_ == Interaction::voxel_packed_u8;
        float* scale = lanes.scale.data();
        std::fill_n(scale, n, 0.0f);
        for (std::int32_t c = 0; c < K_; ++c) {
            const float* e = lanes.e.data() + c * n;
            const float* F = F_ + first + m_ * c;
            float* p = lanes.p.data() + c * n;
            for (std::int64_t t = 0; t < n; ++t) {
                const double energy = e[t];
                const double factor = penalties ? std::exp(-0.0625 * energy) : std::exp(energy);
                p[t] = static_cast<float>(factor * static_cast<double>(F[2 * t]));
            }
            for (std::int64_t t = 0; t < n; ++t) {
                scale[t] += p[t];
            }
        }
        for (std::int64_t t = 0; t < n; ++t) {
            scale[t] = 255.0f / scale[t];
        }
        for (std::int32_t c = 0; c < K_; ++c) {
            const float* p = lanes.p.data() + c * n;
            std::uint8_t* bytes = P_ + first + m_ * c;
            for (std::int64_t t = 0; t < n; ++t) {
                bytes[2 * t] = to_byte(static_cast<double>(scale[t] * p[t]) + 0.5);
            }
        }
    }
};

}  // namespace

bool relax_labels(const Grid3& grid, std::int32_t classes, const std::uint8_t* before, std::uint8_t* after,
                  const float* F, const void* G, const float w[3], Interaction code, KeepGoing keep_going)
{
    // In place, the call either runs to its end or writes nothing.
    const bool in_place = after == before;
    if (!should_go_on(keep_going)) {
        return false;
    }
    if (!in_place) {
        // after starts as a copy of before, made plane by plane on every core.
        const std::int64_t plane = std::int64_t{grid.nx} * grid.ny;
        for_each_plane(
            std::int64_t{grid.nz} * classes,
            [&](std::int64_t k) { std::copy_n(before + k * plane, plane, after + k * plane); });
    }
    if (grid.count() == 0 || classes == 0) {
        return true;
    }
    const Sweep sweep(grid, classes, after, F, G, w, code);
    for (int pass = 0; pass < 2; ++pass) {
        const bool finished = for_each_plane(
            grid.nz,
            [&](std::int64_t k) {
                Lanes lanes(classes, grid.nx);
                for (std::int64_t j = 0; j < grid.ny; ++j) {
                    sweep.row(j, k, pass, lanes);
                }
            },
            [&](std::int64_t) { return in_place || should_go_on(keep_going); });
        if (!finished) {
            return false;
        }
    }
    return true;
}

}  // namespace nrx
