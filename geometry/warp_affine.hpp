// Homogeneous 4x4 transform of every point of a deformation field, in place.
#pragma once

#include <cstdint>

namespace nrx {

// Replaces each point (x[e], y[e], z[e]), e = 0 .. n-1, by the first
// three rows of M applied to (x, y, z, 1), each divided by the fourth row's
// result. m holds M column-major: M(r, c) = m[r + 4c].
//
// Numerators are double; the denominator is rounded to single before the
// division and each quotient on storing. The three old values of a point are
// read before any is written, so the component buffers may alias: when two
// share one buffer the later store (y over x, z over y) remains. A zero
// denominator gives infinities or NaN; nothing is allocated. Points are
// split among all cores; every call transforms all n points.
void apply_affine_to_field(float* x, float* y, float* z, std::int32_t n, const double m[16]);

}  // namespace nrx
