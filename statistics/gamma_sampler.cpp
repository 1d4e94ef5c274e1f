#include "statistics/gamma_sampler_detail.hpp"

#include <cmath>

namespace nrx::detail {

double uniform(WichmannHill& state)
{
    // 171 * 30268 and its like stay far below 2^31.
    state.ix = (171 * state.ix) % 30269;
    state.iy = (172 * state.iy) % 30307;
    state.iz = (170 * state.iz) % 30323;
    float u = static_cast<float>(state.ix) / 30269.0f + static_cast<float>(state.iy) / 30307.0f +
              static_cast<float>(state.iz) / 30323.0f;
    u -= std::trunc(u);
    return u;
}

double normal(WichmannHill& state)
{
    double p, q, s;
    do {
        p = 2.0 * uniform(state) - 1.0;
        q = 2.0 * uniform(state) - 1.0;
        s = p * p + q * q;
    } while (s >= 1.0 || s == 0.0);
    return p * std::sqrt(-2.0 * std::log(s) / s);
}

double gamma(WichmannHill& state, double a)
{
    double c = 1.0;
    if (a < 1.0) {
        c = std::exp(std::log(uniform(state)) / a);
        a = a + 1.0;
    }
    const double d = a - 1.0 / 3.0;
    const double k = 1.0 / std::sqrt(9.0 * d);
    for (;;) {
        double x, v;
        do {
            x = normal(state);
            v = 1.0 + k * x;
        } while (v <= 0.0);
        v = v * v * v;
        const double x2 = x * x;
        const double u = uniform(state);
        if (u < 1.0 - 0.0331 * x2 * x2 || std::log(u) < 0.5 * x2 + d * (1.0 - v + std::log(v))) {
            return c * d * v;
        }
    }
}

}  // namespace nrx::detail

namespace nrx {

void gamma_fill(WichmannHill& state, double a, double b, double* r, std::int32_t n)
{
    for (std::int32_t i = 0; i < n; ++i) {
        r[i] = detail::gamma(state, a) * b;
    }
}

}  // namespace nrx
