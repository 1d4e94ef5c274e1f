// The draws gamma_fill is built from, one variate at a time, for tests.
#pragma once

#include "statistics/gamma_sampler.hpp"

namespace nrx::detail {

// The next uniform number in [0, 1): the fractional part of
// ix/30269 + iy/30307 + iz/30323 after each word is advanced, formed in
// single precision.
double uniform(WichmannHill& state);

// The next standard normal deviate by the polar method: pairs of uniforms
// until one falls strictly inside the unit circle (and not on its centre);
// the second deviate of the pair is discarded.
double normal(WichmannHill& state);

// A Gamma(a, 1) variate by the Marsaglia-Tsang squeeze method; a shape below
// 1 is raised by 1 and the result scaled by U^(1/a) (one uniform drawn before
// the rest). A shape of 0 gives 0, +infinity gives +infinity; NaN, -infinity
// and shapes so negative that a + 1 - 1/3 <= 0 give NaN. Ends for every a:
// whatever a is, each candidate is accepted with a probability above 0.
double gamma(WichmannHill& state, double a);

}  // namespace nrx::detail
