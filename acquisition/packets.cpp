#include "acquisition/packets.hpp"

namespace nrx::acquisition {

// Another process may store into the segment at any moment, so every access
// to it is an atomic built-in: a plain access racing with a store would be
// undefined behaviour, however the processor carried it out. Relaxed int32
// loads and stores compile to plain moves; the order promised in the header
// comes from acquire loads, release stores and fences (on x86 these only
// restrain the compiler, elsewhere they cost a barrier each).

void copy_headers(const std::int32_t* segment, std::int32_t* const rows[], std::int32_t row_count)
{
    for (std::int32_t p = 0; p < packet_count; ++p) {
        const std::int32_t* words = packet(segment, p);
        for (std::int32_t k = 0; k < row_count; ++k) {
            // Acquire: no later load, of this call or a later one, comes before it.
            rows[k][p] = __atomic_load_n(&words[k], __ATOMIC_ACQUIRE);
        }
    }
}

void copy_samples(const std::int32_t* segment, std::int32_t index, std::int32_t count, std::int32_t* out)
{
    const std::int32_t* samples = packet(segment, index) + header_words;
    for (std::int32_t j = 0; j < count; ++j) {
        out[j] = __atomic_load_n(&samples[j], __ATOMIC_RELAXED);
    }
    // Every load above before any load after the call.
    __atomic_thread_fence(__ATOMIC_ACQUIRE);
}

void write_packet(std::int32_t* segment, std::int32_t index, const std::int32_t words[header_words],
                  const std::int32_t* samples, std::size_t count)
{
    std::int32_t* target = packet(segment, index);
    for (std::int32_t k = 0; k < header_words; ++k) {
        // Release: after every store before it.
        __atomic_store_n(&target[k], words[k], __ATOMIC_RELEASE);
    }
    // The samples after the header words, and before any store after the call.
    __atomic_thread_fence(__ATOMIC_RELEASE);
    for (std::size_t j = 0; j < count; ++j) {
        __atomic_store_n(&target[header_words + j], samples[j], __ATOMIC_RELAXED);
    }
    __atomic_thread_fence(__ATOMIC_RELEASE);
}

}  // namespace nrx::acquisition
