// Conventions shared by the phase-map kernels.
//
// A phase map holds one double per voxel, in radians, column-major: voxel
// (i, j, k) lies at i + d0*(j + d1*k). Its size comes as three unsigned 32-bit
// counts (d0, d1, d2), with d2 = 1 for a 2-D map; the callers guarantee that
// d0*d1*d2 fits in a signed 32-bit integer.
//
// A mask is a second map of the same size; a voxel is inside it when its value
// compares unequal to 0.0, so a NaN is inside and only +0 and -0 are outside.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace nrx {

using GridDims = std::uint32_t[3];

inline std::size_t voxel_count(const GridDims dim)
{
    return static_cast<std::size_t>(dim[0]) * dim[1] * dim[2];
}

inline bool inside_mask(double mask_value) { return mask_value != 0.0; }

// Pi and 2 pi as the decimal constants the phase-map kernels have always used
// (pi_approx lies about 3.1e-15 below pi; two_pi_approx is exactly twice it).
constexpr double pi_approx = 3.14159265358979;
constexpr double two_pi_approx = 6.28318530717958;

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
double wrap_far(double d);

inline double wrap(double d)
{
    // Phase differences of ordinary maps: a handful of steps at most.
    if (std::fabs(d) <= 1024.0) {
        while (d > pi_approx) d -= two_pi_approx;
        while (d < -pi_approx) d += two_pi_approx;
        return d;
    }
    return wrap_far(d);
}

}  // namespace nrx
