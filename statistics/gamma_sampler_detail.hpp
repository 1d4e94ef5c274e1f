// The draws gamma_fill is built from, one variate at a time: the definition of
// the sequence, which gamma_fill's batches reproduce, and its fallback.
#pragma once

#include <cmath>

#include "statistics/gamma_sampler.hpp"
#include "statistics/wichmann_hill.hpp"

namespace nrx::detail {

// The draws below take their uniforms in order from `next()`.

// Whether a polar pair p, q with s = p^2 + q^2 is kept: strictly inside the
// unit circle and not on its centre (s is never NaN).
inline bool inside_circle(double s) { return 0.0 < s && s < 1.0; }

// The factor that makes p of a kept pair a normal deviate.
inline double polar_root(double s) { return std::sqrt(-2.0 * std::log(s) / s); }

// The next standard normal deviate by the polar method: pairs of uniforms
// until one is kept; the second deviate of the pair is discarded.
template <typename Next>
double normal_from(Next& next)
{
    double p, s;
    do {
        p = 2.0 * next() - 1.0;
        const double q = 2.0 * next() - 1.0;
        s = p * p + q * q;
    } while (!inside_circle(s));
    return p * polar_root(s);
}

// The Marsaglia-Tsang constants of a shape; a shape below 1 is raised by 1
// (`boosted`) and its variate scaled by U^(1/a).
struct TsangShape {
    explicit TsangShape(double a)
        : a(a), boosted(a < 1.0), d((boosted ? a + 1.0 : a) - 1.0 / 3.0), k(1.0 / std::sqrt(9.0 * d))
    {
    }
    double a;
    bool boosted;
    double d;
    double k;
};

// The squeeze of the Marsaglia-Tsang test: a candidate whose uniform passes it
// is accepted without the logarithms of the full test.
inline bool squeezed(double u, double x2) { return u < 1.0 - 0.0331 * x2 * x2; }

// The full test, for a candidate the squeeze let through: v3 = (1 + k x)^3.
inline bool accepted(double u, double x2, double v3, double d)
{
    return std::log(u) < 0.5 * x2 + d * (1.0 - v3 + std::log(v3));
}

// The scale U^(1/a) of a boosted shape, from its uniform.
inline double boost(double u, double a) { return std::exp(std::log(u) / a); }

// Candidates until one is accepted: its v3 = (1 + k x)^3.
template <typename Next>
double tsang_cube(Next& next, const TsangShape& shape)
{
    for (;;) {
        double x, v;
        do {
            x = normal_from(next);
            v = 1.0 + shape.k * x;
        } while (v <= 0.0);
        v = v * v * v;
        const double x2 = x * x;
        const double u = next();
        if (squeezed(u, x2) || accepted(u, x2, v, shape.d)) {
            return v;
        }
    }
}

// A Gamma(a, 1) variate by the Marsaglia-Tsang squeeze method, from the
// shape's constants; a boosted shape draws its scale's uniform first. A shape
// of 0 gives 0, +infinity gives +infinity; NaN, -infinity and shapes so
// negative that a + 1 - 1/3 <= 0 give NaN. Ends for every a: whatever a is,
// each candidate is accepted with a probability above 0.
template <typename Next>
double gamma_from(Next& next, const TsangShape& shape)
{
    const double c = shape.boosted ? boost(next(), shape.a) : 1.0;
    return c * shape.d * tsang_cube(next, shape);
}

// gamma_from drawing from `state`.
double gamma(WichmannHill& state, double a);

}  // namespace nrx::detail
