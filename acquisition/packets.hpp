// Copies between the acquisition segment and plain buffers.
//
// `segment` is the first word of the 600 packets (an attached segment, or any
// buffer laid out the same way). No lock is taken and nothing is checked: a
// copy sees whatever the segment holds while it runs. Every word is read and
// written with an atomic access, so a process writing the segment at the
// same time is no data race. What the routines do promise is the order of
// their memory accesses, also as the processor carries them out, so that a
// process filling the segment can give its readers a way to tell a complete
// packet from one it is still writing:
//
// - copy_headers reads each packet's header words in order, word 1 first,
//   each an acquire load: having read a word that a writer stored with
//   release ordering, it sees every store the writer made before that one;
// - every copy finishes its reads before the routine returns, so two calls
//   read in the order they are made;
// - write_packet stores the five header words in order, then the samples.
#pragma once

#include <cstddef>
#include <cstdint>

#include "acquisition/segment.hpp"

namespace nrx::acquisition {

// rows[k][p] = header word k+1 of packet p, for p = 0 .. 599 and k below
// `row_count` (at most 5): each row holds 600 words.
void copy_headers(const std::int32_t* segment, std::int32_t* const rows[], std::int32_t row_count);

// out[j] = sample j+1 of packet `index`, for j below `count` (at most 28,160).
void copy_samples(const std::int32_t* segment, std::int32_t index, std::int32_t count, std::int32_t* out);

// Sets the five header words of packet `index` to `words`, then its samples
// 1 to `count` (at most 28,160) to `samples`; its later samples keep their
// contents. `samples` may be null when `count` is 0.
void write_packet(std::int32_t* segment, std::int32_t index, const std::int32_t words[header_words],
                  const std::int32_t* samples, std::size_t count);

}  // namespace nrx::acquisition
