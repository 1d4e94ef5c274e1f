// Whole numbers handed over as doubles, read as 32-bit signed integers.
//
// The host passes every count, index and coordinate as a double, while the
// kernels count in 32 bits. This holds no host type, so kernels that convert
// coordinates themselves use it too.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

namespace nrx {

// The integer part of v (truncation toward zero) as a 32-bit signed integer;
// nothing when v is NaN or its integer part lies outside the 32-bit range.
// Each caller decides what "nothing" means (0, the most negative integer,
// "outside the volume", a refusal), so that no conversion is ever undefined.
inline std::optional<std::int32_t> trunc_to_int32(double v)
{
    const double t = std::trunc(v);
    if (!(t >= -2147483648.0 && t <= 2147483647.0)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(t);
}

}  // namespace nrx
