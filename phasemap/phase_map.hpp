// Conventions shared by the phase-map kernels.
//
// A phase map holds one double per voxel, in radians, on an nrx::Grid3
// (core/grid3.hpp: column-major, a 2-D map has nz = 1).
//
// A mask is a second map of the same size; a voxel is inside it when its value
// compares unequal to 0.0, so a NaN is inside and only +0 and -0 are outside.
//
// A weight map is a map of the same size, one weight per voxel; a voxel whose
// weight compares equal to 0.0 holds no known phase (NaN and negative weights
// are known).
//
// A filter kernel is a small grid of doubles of any size, independent of the
// map's, laid over each map voxel as nrx::box_elements places it
// (core/neighbourhood.hpp): its centre element floor(n/2) along each axis on
// the voxel, elements visited first axis outermost, third innermost, which
// fixes the order of the filters' sums. Elements that reach outside the map
// are skipped; the map is never extended or mirrored.
#pragma once

#include <cmath>

#include "core/grid3.hpp"

namespace nrx {

inline bool inside_mask(double mask_value) { return mask_value != 0.0; }

inline bool has_known_phase(double weight) { return weight != 0.0; }

// Pi and 2 pi as the decimal constants the phase-map kernels have always used
// (pi_approx lies about 3.1e-15 below pi; two_pi_approx is exactly twice it).
constexpr double pi_approx = 3.14159265358979;
constexpr double two_pi_approx = 6.28318530717958;

namespace detail {

// wrap for the values its inline loop leaves aside (|d| above 1024, NaN).
double wrap_far(double d);

}  // namespace detail

// Wraps a phase difference into [-pi_approx, pi_approx]: while it is greater
// than pi_approx subtract two_pi_approx, then while it is less than -pi_approx
// add two_pi_approx, one rounded step at a time. The ends of the interval are
// returned unchanged and NaN passes through.
//
// The result equals that step-by-step loop for every finite value at which the
// loop ends; large values take a few steps per binade instead of |d|/(2 pi)
// steps. Infinity, and values so large that subtracting two_pi_approx no
// longer changes them (|d| above 2^56), would keep the loop going forever:
// they give NaN.
inline double wrap(double d)
{
    // Phase differences of ordinary maps: a handful of steps at most.
    if (std::fabs(d) <= 1024.0) {
        while (d > pi_approx) d -= two_pi_approx;
        while (d < -pi_approx) d += two_pi_approx;
        return d;
    }
    return detail::wrap_far(d);
}

}  // namespace nrx
