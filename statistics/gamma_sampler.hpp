// Gamma-distributed random numbers from a Wichmann-Hill combined generator.
//
// The generator state is three words that every uniform draw advances; the
// caller owns it, so a plug-in can keep one state for as long as it stays
// loaded and a test can start from any state. The same state and arguments
// always give the same numbers, drawn in the order written in
// gamma_sampler_detail.hpp, one variate at a time.
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

// Writes r[i] = b times a Gamma(a, 1) variate for i = 0 .. n-1, in order,
// advancing `state`; writes and draws nothing when n <= 0. A shape of 0
// gives 0, +infinity gives +infinity; NaN, -infinity and shapes so negative
// that a + 1 - 1/3 <= 0 give NaN. Ends for every a. Cost: a few uniform
// draws and logarithms per element; the uniforms are made ahead, up to a few
// thousand more than are drawn.
void gamma_fill(WichmannHill& state, double a, double b, double* r, std::int32_t n);

}  // namespace nrx
