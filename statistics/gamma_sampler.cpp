#include "statistics/gamma_sampler.hpp"

#include <algorithm>
#include <cstdint>

#include "statistics/gamma_sampler_detail.hpp"
#include "statistics/wichmann_hill.hpp"

namespace nrx::detail {

double gamma(WichmannHill& state, double a)
{
    auto next = [&state] { return uniform(state); };
    return gamma_from(next, TsangShape(a));
}

}  // namespace nrx::detail

namespace nrx {

namespace {

using detail::UniformStream;

// How many attempts a batch takes on at most: enough for the loops over them
// to run ahead. A boosted shape's batch is cut short by every rejection (one
// attempt in 40), wasting the attempts after it: it takes fewer.
constexpr std::int32_t batch = 32;
constexpr std::int32_t boosted_batch = 8;

// Below this many unread uniforms a batch might be cut short: the stream
// makes more first.
constexpr std::int32_t low_water = 256;

// Uniforms enough for m more variates, with rare exceptions (the slow path
// then reads on): the mean is below 5.
std::int32_t uniforms_for(std::int32_t m)
{
    return static_cast<std::int32_t>(std::min<std::int64_t>(UniformStream::capacity, 5 * std::int64_t{m} + 64));
}

// Draws r[i], r[i + 1], ... from the stream by attempts taken in batches, and
// returns how far it got (at least i + 1, at most n). `boosted` is
// shape.boosted.
//
// An attempt is a boosted shape's uniform, then uniform pairs until one is
// kept, then the uniform of the test. Assuming each attempt passes, the batch
// first lays out where its attempts start, then takes the logarithms of their
// pairs, then tests them in order. A rejection of an unboosted shape leaves
// the layout right: the next attempt is where the retry starts. A rejection of
// a boosted shape (whose retry draws no new scale) and a candidate with
// 1 + k x <= 0 (whose sample draws its next pair at once) break the layout:
// that variate is finished one uniform at a time, and the batch ends there.
// A batch has no more attempts than variates to draw, so it can only reach n
// at its last attempt.
template <bool boosted>
std::int32_t draw_batch(UniformStream& stream, const detail::TsangShape& shape, double b, double* r, std::int32_t i,
                        std::int32_t n)
{
    auto next = [&stream] { return stream.next(); };
    const double* w = stream.window();

    std::int32_t start[batch];  // the attempt's first uniform
    std::int32_t pair[batch];   // its kept pair
    double p[batch];            // 2 u - 1 of the pair's first uniform
    double s[batch];            // p^2 + q^2 of the pair
    double u[batch];            // the test's uniform
    std::int32_t count = 0;
    const std::int32_t most = std::min(boosted ? boosted_batch : batch, n - i);
    const std::int32_t end = stream.filled() - 2;  // the test's uniform must be made
    for (std::int32_t at = stream.cursor(); count < most; ++count) {
        std::int32_t j = at + boosted;
        for (; j < end; j += 2) {
            p[count] = 2.0 * w[j] - 1.0;
            const double q = 2.0 * w[j + 1] - 1.0;
            s[count] = p[count] * p[count] + q * q;
            if (detail::inside_circle(s[count])) {
                break;
            }
        }
        if (j >= end) {
            break;
        }
        start[count] = at;
        pair[count] = j;
        u[count] = w[j + 2];
        at = j + 3;
    }
    if (count == 0) {
        r[i] = detail::gamma_from(next, shape) * b;
        return i + 1;
    }

    // The candidates, in loops without branches: the logarithms, and the
    // divisions and roots that wait on them, overlap.
    double root[batch];
    for (std::int32_t t = 0; t < count; ++t) {
        root[t] = detail::polar_root(s[t]);
    }
    double v3[batch], x2[batch];
    bool negative[batch], squeezed[batch];
    for (std::int32_t t = 0; t < count; ++t) {
        const double x = p[t] * root[t];
        const double v = 1.0 + shape.k * x;
        negative[t] = v <= 0.0;
        v3[t] = v * v * v;
        x2[t] = x * x;
        squeezed[t] = detail::squeezed(u[t], x2[t]);
    }

    for (std::int32_t t = 0; t < count; ++t) {
        const double c = boosted ? detail::boost(w[start[t]], shape.a) : 1.0;
        if (!negative[t] && (squeezed[t] || detail::accepted(u[t], x2[t], v3[t], shape.d))) {
            r[i++] = c * shape.d * v3[t] * b;
        } else if (negative[t] || boosted) {
            stream.skip_to(pair[t] + (negative[t] ? 2 : 3));
            r[i++] = c * shape.d * detail::tsang_cube(next, shape) * b;
            return i;
        }
    }
    stream.skip_to(pair[count - 1] + 3);
    return i;
}

}  // namespace

void gamma_fill(WichmannHill& state, double a, double b, double* r, std::int32_t n)
{
    if (n <= 0) {
        return;
    }
    const detail::TsangShape shape(a);
    UniformStream stream(state);
    for (std::int32_t i = 0; i < n;) {
        if (stream.filled() - stream.cursor() < low_water) {
            stream.make_ahead(uniforms_for(n - i));
        }
        i = shape.boosted ? draw_batch<true>(stream, shape, b, r, i, n) : draw_batch<false>(stream, shape, b, r, i, n);
    }
    state = stream.state();
}

}  // namespace nrx
