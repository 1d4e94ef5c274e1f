#include "acquisition/packet_numbers.hpp"

#include <algorithm>
#include <limits>

#include "acquisition/segment.hpp"
#include "core/int32.hpp"

namespace nrx::acquisition {

namespace {
constexpr std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t highest = std::numeric_limits<std::int32_t>::max();
}  // namespace

std::int32_t to_int32(double value) { return nrx::trunc_to_int32(value).value_or(lowest); }

std::int32_t read_index(double packet_number) { return to_int32(packet_number - 1.0); }

std::int32_t write_index(double packet_number)
{
    const std::int32_t number = to_int32(packet_number);
    // Subtracting one from the most negative integer wraps in 32-bit
    // arithmetic; spelled out here, where it would otherwise be undefined.
    return number == lowest ? highest : number - 1;
}

std::int32_t clamped_sample_count(double n) { return std::clamp(to_int32(n), 0, packet_samples); }

}  // namespace nrx::acquisition
