// Gamma-distributed random numbers from a Wichmann-Hill combined generator.
//
// The generator state is three words that every uniform draw advances; the
// caller owns it, so a plug-in can keep one state for as long as it stays
// loaded and a test can start from any state. The same state and arguments
// always give the same numbers, drawn in the order written in
// gamma_random.cpp.
//
// Typical use:
//
//   nrx::WichmannHill state;                 // 101, 1001, 10001
//   nrx::gamma_fill(state, 2.0, 3.0, r, n);  // r[i] = 3 * Gamma(2, 1)
#pragma once

#include <cstdint>

namespace nrx {

// Invariant: 1 <= ix < 30269, 1 <= iy < 30307, 1 <= iz < 30323.
struct WichmannHill {
    std::int32_t ix = 101;
    std::int32_t iy = 1001;
    std::int32_t iz = 10001;
};

// The next uniform number in [0, 1): the fractional part of
// ix/30269 + iy/30307 + iz/30323 after each word is advanced, formed in
// single precision.
double Rand(WichmannHill& state);

// The next standard normal deviate by the polar method: pairs of uniforms
// until one falls strictly inside the unit circle (and not on its centre);
// the second deviate of the pair is discarded.
double RandN(WichmannHill& state);

// A Gamma(a, 1) variate by the Marsaglia-Tsang squeeze method; a shape below
// 1 is raised by 1 and the result scaled by U^(1/a) (one uniform drawn before
// the rest). A shape of 0 gives 0, +infinity gives +infinity; NaN, -infinity
// and shapes so negative that a + 1 - 1/3 <= 0 give NaN. Ends for every a:
// whatever a is, each candidate is accepted with a probability above 0.
double GammaRand(WichmannHill& state, double a);

// r[i] = GammaRand(state, a) * b for i = 0 .. n-1 in order; nothing when n <= 0.
void gamma_fill(WichmannHill& state, double a, double b, double* r, std::int32_t n);

}  // namespace nrx
