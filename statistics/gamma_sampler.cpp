#include "statistics/gamma_sampler.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

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
// returns how far it got (at least i + 1, at most n).
//
// An attempt is a boosted shape's uniform, then uniform pairs until one is
// kept, then the uniform of the test. Assuming each attempt passes, the
// batch first lays out where its attempts start (a chain of table look-ups),
// then works out each candidate, then tests them in order. A rejection of an
// unboosted shape leaves the layout right: the next attempt is where the
// retry starts. A rejection of a boosted shape (whose next attempt would
// draw no new scale) and a candidate with 1 + k x <= 0 (whose sample draws
// its next pair at once) break the layout: that variate is finished one
// uniform at a time, and the batch ends there.
std::int32_t draw_batch(UniformStream& stream, const detail::TsangShape& shape, double b,
                        double* r, std::int32_t i, std::int32_t n)
{
    auto next = [&stream] { return stream.next(); };
    const double* w = stream.window();

    std::int32_t start[batch];  // the attempt's first uniform
    std::int32_t pair[batch];   // its kept pair
    double s[batch];            // p^2 + q^2 of that pair
    std::int32_t count = 0;
    const std::int32_t most = std::min(shape.boosted ? boosted_batch : batch, n - i);
    const std::int32_t end = stream.filled() - 2;
    for (std::int32_t at = stream.cursor(); count < most; ++count) {
        std::int32_t j = at + shape.boosted;
        double sj;
        for (; j < end; j += 2) {
            const double p = 2.0 * w[j] - 1.0;
            const double q = 2.0 * w[j + 1] - 1.0;
            sj = p * p + q * q;
            if (detail::inside_circle(sj)) {
                break;
            }
        }
        if (j >= end) {
            break;
        }
        start[count] = at;
        pair[count] = j;
        s[count] = sj;
        at = j + 3;
    }
    if (count == 0) {
        r[i] = detail::gamma_from(next, shape) * b;
        return i + 1;
    }

    // The logarithms first, in a loop of nothing else, so that they overlap.
    double log_s[batch];
    for (std::int32_t t = 0; t < count; ++t) {
        log_s[t] = std::log(s[t]);
    }

    for (std::int32_t t = 0; t < count; ++t) {
        const std::int32_t j = pair[t];
        const double x = detail::polar_deviate(2.0 * w[j] - 1.0, s[t], log_s[t]);
        double v = 1.0 + shape.k * x;
        const bool negative = v <= 0.0;
        v = v * v * v;
        const double x2 = x * x;
        const double u = w[j + 2];
        const double c = shape.boosted ? detail::boost(w[start[t]], shape.a) : 1.0;
        if (!negative && (detail::squeezed(u, x2) || detail::accepted(u, x2, v, shape.d))) {
            r[i++] = c * shape.d * v * b;
            if (i == n) {
                stream.skip_to(j + 3);
                return i;
            }
        } else if (negative || shape.boosted) {
            stream.skip_to(j + (negative ? 2 : 3));
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
        i = draw_batch(stream, shape, b, r, i, n);
    }
    state = stream.state();
}

}  // namespace nrx
