#include "acquisition/packets.hpp"

#include <algorithm>
#include <atomic>

namespace nrx::acquisition {

// The fences order plain loads and stores of shared memory: an acquire fence
// keeps every earlier load before every later one, a release fence every
// earlier store before every later one. On x86 they only restrain the
// compiler; elsewhere they cost one barrier instruction each.

void copy_headers(const std::int32_t* segment, std::int32_t* const rows[], std::int32_t row_count)
{
    for (std::int32_t p = 0; p < packet_count; ++p) {
        const std::int32_t* words = packet(segment, p);
        for (std::int32_t k = 0; k < row_count; ++k) {
            rows[k][p] = words[k];
            std::atomic_thread_fence(std::memory_order_acquire);
        }
    }
}

void copy_samples(const std::int32_t* segment, std::int32_t index, std::int32_t count, std::int32_t* out)
{
    std::copy_n(packet(segment, index) + header_words, count, out);
    std::atomic_thread_fence(std::memory_order_acquire);
}

void write_packet(std::int32_t* segment, std::int32_t index, const std::int32_t words[header_words],
                  const std::int32_t* samples, std::size_t count)
{
    std::int32_t* target = packet(segment, index);
    for (std::int32_t k = 0; k < header_words; ++k) {
        target[k] = words[k];
        std::atomic_thread_fence(std::memory_order_release);
    }
    std::copy_n(samples, count, target + header_words);
    std::atomic_thread_fence(std::memory_order_release);
}

}  // namespace nrx::acquisition
