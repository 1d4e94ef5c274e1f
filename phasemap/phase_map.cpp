#include "phasemap/phase_map.hpp"

#include <limits>

namespace nrx {

namespace {

constexpr double two_pow_52 = 4503599627370496.0;

// Takes as many steps of the loop `d -= two_pi_approx` at once as certainly
// stay in the binade of d (d finite and above 1). Inside the binade
// [2^e, 2^(e+1)) every value is a multiple m of u = 2^(e-52), with
// 2^52 <= m < 2^53, and a step that lands in the binade rounds the exact
// difference to the nearest multiple of u: it subtracts s = round(2 pi / u)
// from m, the same s every step. A step lands in the binade when
// m - 2 pi/u >= 2^52, which holds for every one of the
// k = floor((m - 2^52 - 1) / s) steps taken here (since s >= 2 pi/u - 1/2).
// The remaining steps, including the one that leaves the binade, are left to
// the caller's ordinary subtraction. When 2 pi/u falls halfway between two
// integers each step rounds to even and s alternates; that binade is left to
// the ordinary loop as well.
double skip_within_binade(double d)
{
    const double u = std::ldexp(1.0, std::ilogb(d) - 52);
    const double m = d / u;
    const double exact_step = two_pi_approx / u;
    const double step = std::nearbyint(exact_step);
    if (step == 0.0 || std::fabs(exact_step - step) == 0.5) {
        return d;
    }
    const double k = std::floor((m - two_pow_52 - 1.0) / step);
    if (k <= 0.0) {
        return d;
    }
    return (m - k * step) * u;
}

// The loop `while (d > pi_approx) d -= two_pi_approx` for a finite d.
double wrap_down(double d)
{
    while (d > pi_approx) {
        d = skip_within_binade(d);
        const double next = d - two_pi_approx;
        if (next == d) {
            return std::numeric_limits<double>::quiet_NaN();
        }
        d = next;
    }
    return d;
}

}  // namespace

namespace detail {

double wrap_far(double d)
{
    if (std::isnan(d)) {
        return d;
    }
    if (std::isinf(d)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    // Rounding to nearest is symmetric, so adding 2 pi to a negative value
    // mirrors subtracting it from the positive one. The first loop leaves a
    // value above -pi_approx, so the second loop never follows the first.
    return d > 0.0 ? wrap_down(d) : -wrap_down(-d);
}

}  // namespace detail

}  // namespace nrx
