// Bit-level helpers of the phase-map tests: NaNs told apart by payload.
#pragma once

#include <cstdint>
#include <cstring>
#include <limits>

// In the tests' own unnamed namespace, where `nan` hides the C library's.
namespace {

const double nan = std::numeric_limits<double>::quiet_NaN();

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

double nan_with_payload(std::uint64_t payload)
{
    const std::uint64_t bits = 0x7ff8000000000000u | payload;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

}  // namespace
