// The packets of the stand-in acquisition program (nrx_acq_standin), which
// fills the segment in place of a real acquisition process.
//
// It numbers the packets it writes 1, 2, 3, ... (the sequence number s) and
// puts packet s into segment packet (s - 1) mod 600, so it cycles through all
// 600. The header words of a packet mean:
//
//   word 1  s, stored last, once every other word and sample is in place
//   word 2  the one-based packet number, (s - 1) mod 600 + 1
//   word 3  the number of samples, 28,160
//   word 4  milliseconds since the stand-in started, when it began the packet
//   word 5  s, stored first, before anything else of the packet changes
//
// and sample k (k = 1 .. 28,160) holds s + k - 1 (wrapping as 32-bit
// integers). A packet never written holds zeros.
//
// Reading it: a packet whose word 1 equals word 5 (and is above 0) was
// complete when the header words were copied, and the packet with the
// largest word 1 is the newest complete one. Because word 5 is stored first
// and word 1 last (a release store), while readers copy word 1 first (an
// acquire load) and word 5 last, a packet caught in the middle of being
// written shows two different numbers. Samples copied between two header
// copies that both show the packet complete with the same s are the samples
// of packet s, whole.
#pragma once

#include <cstdint>

namespace nrx::acquisition {

// Writes the packet with sequence number s (s >= 1) into its segment packet,
// in the order above.
void write_standin_packet(std::int32_t* segment, std::int32_t sequence, std::int32_t milliseconds);

// The largest sequence number in word 1 or word 5 of any packet (0 when there
// is none): a stand-in started on a segment that already holds packets
// continues after it, so that the newest packet stays the one with the
// largest number.
std::int32_t last_sequence(const std::int32_t* segment);

}  // namespace nrx::acquisition
