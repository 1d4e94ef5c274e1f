#include "acquisition/standin_packets.hpp"

#include <algorithm>

#include "acquisition/segment.hpp"
#include "acquisition/standin_packets_detail.hpp"

namespace nrx::acquisition {

namespace detail {

std::int32_t standin_packet_index(std::int32_t sequence) { return (sequence - 1) % packet_count; }

std::int32_t standin_sample(std::int32_t sequence, std::int32_t k)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(sequence) + static_cast<std::uint32_t>(k) - 1u);
}

}  // namespace detail

// Every access to the segment is atomic, as in packets.cpp: readers copy it
// while this writes.

void write_standin_packet(std::int32_t* segment, std::int32_t sequence, std::int32_t milliseconds)
{
    const std::int32_t index = detail::standin_packet_index(sequence);
    std::int32_t* words = packet(segment, index);
    // Word 5 first: the release fence keeps it before every later store.
    __atomic_store_n(&words[4], sequence, __ATOMIC_RELAXED);
    __atomic_thread_fence(__ATOMIC_RELEASE);
    __atomic_store_n(&words[1], index + 1, __ATOMIC_RELAXED);
    __atomic_store_n(&words[2], packet_samples, __ATOMIC_RELAXED);
    __atomic_store_n(&words[3], milliseconds, __ATOMIC_RELAXED);
    std::int32_t* samples = words + header_words;
    for (std::int32_t k = 1; k <= packet_samples; ++k) {
        __atomic_store_n(&samples[k - 1], detail::standin_sample(sequence, k), __ATOMIC_RELAXED);
    }
    // Word 1 last: the release store keeps every store above before it.
    __atomic_store_n(&words[0], sequence, __ATOMIC_RELEASE);
}

std::int32_t last_sequence(const std::int32_t* segment)
{
    std::int32_t last = 0;
    for (std::int32_t p = 0; p < packet_count; ++p) {
        const std::int32_t* words = packet(segment, p);
        const std::int32_t word_1 = __atomic_load_n(&words[0], __ATOMIC_RELAXED);
        const std::int32_t word_5 = __atomic_load_n(&words[4], __ATOMIC_RELAXED);
        last = std::max({last, word_1, word_5});
    }
    return last;
}

}  // namespace nrx::acquisition
