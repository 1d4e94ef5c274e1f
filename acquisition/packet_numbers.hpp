// Packet numbers, sample counts and header words as the acquisition plug-ins
// read them from the host's doubles.
//
// Every one goes through the same conversion to int32: truncation toward
// zero, with NaN and values outside the signed 32-bit range becoming the most
// negative 32-bit integer. Packet numbers at the host are one-based.
#pragma once

#include <cstdint>

namespace nrx::acquisition {

// The conversion to int32 described above.
std::int32_t to_int32(double value);

// The zero-based packet to read for packet number p: (p - 1) converted, so
// one is subtracted before truncation and any 0 < p < 601 is valid (0 < p < 2
// reads the first packet). NaN and huge numbers give a negative index.
std::int32_t read_index(double packet_number);

// The zero-based packet to write for packet number p: p converted, then one
// subtracted, so p must be at least 1. The most negative integer (NaN, or p
// outside the 32-bit range) wraps round to the largest, which lies after the
// last packet.
std::int32_t write_index(double packet_number);

// How many samples to read: n converted, then clamped to 0 .. 28,160.
std::int32_t clamped_sample_count(double n);

}  // namespace nrx::acquisition
