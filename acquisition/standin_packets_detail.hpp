// Where the stand-in puts a packet and what its samples hold, for
// write_standin_packet and for the tests that check what a reader sees.
#pragma once

#include <cstdint>

namespace nrx::acquisition::detail {

// The zero-based packet that receives sequence number s (s >= 1).
std::int32_t standin_packet_index(std::int32_t sequence);

// Sample k (one-based) of the packet with sequence number s.
std::int32_t standin_sample(std::int32_t sequence, std::int32_t k);

}  // namespace nrx::acquisition::detail
