#include "acquisition/standin_packets.hpp"

#include <algorithm>
#include <atomic>

#include "acquisition/segment.hpp"

namespace nrx::acquisition {

std::int32_t standin_packet_index(std::int32_t sequence) { return (sequence - 1) % packet_count; }

std::int32_t standin_sample(std::int32_t sequence, std::int32_t k)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(sequence) + static_cast<std::uint32_t>(k) - 1u);
}

void write_standin_packet(std::int32_t* segment, std::int32_t sequence, std::int32_t milliseconds)
{
    const std::int32_t index = standin_packet_index(sequence);
    std::int32_t* words = packet(segment, index);
    // The release fences keep each group of stores after the one before it,
    // also as other processors see them.
    words[4] = sequence;
    std::atomic_thread_fence(std::memory_order_release);
    words[1] = index + 1;
    words[2] = packet_samples;
    words[3] = milliseconds;
    std::int32_t* samples = words + header_words;
    for (std::int32_t k = 1; k <= packet_samples; ++k) {
        samples[k - 1] = standin_sample(sequence, k);
    }
    std::atomic_thread_fence(std::memory_order_release);
    words[0] = sequence;
}

std::int32_t last_sequence(const std::int32_t* segment)
{
    std::int32_t last = 0;
    for (std::int32_t p = 0; p < packet_count; ++p) {
        const std::int32_t* words = packet(segment, p);
        last = std::max({last, words[0], words[4]});
    }
    return last;
}

}  // namespace nrx::acquisition
