// The jitter table of the joint histogram, for joint_histogram.cpp and its
// tests.
#pragma once

namespace nrx::detail {

// The jitter: 97 single-precision values in [0, 1). The n-th grid point of a
// call (n from 0) is shifted by entries (3n+1), (3n+2) and (3n+3) mod 97.
extern const float jitter_table[97];

}  // namespace nrx::detail
