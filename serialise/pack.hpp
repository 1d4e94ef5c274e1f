// Packing a value into the bytes of a MAT-file version 5 image: the 128-byte
// header, then one array element holding the value under the name "value".
// Written to disk unchanged, the bytes are a .mat file.
//
// Char arrays: a nonempty single row of valid UTF-8 text is stored as UTF-16 code
// units (its second dimension then counts code units), so that other readers
// see the same characters; any other char array is stored as its UTF-8 bytes
// with its own dimensions. Logical arrays are stored as uint8 with the
// logical flag, sparse arrays with int32 row indices and column starts.
//
// Typical use:
//
//   const std::uint64_t size = nrx::packed_size(value);   // may throw
//   std::vector<std::uint8_t> bytes(size);
//   nrx::write_packed(value, bytes.data());
#pragma once

#include <cstdint>

#include "serialise/value.hpp"

namespace nrx {

// The number of bytes write_packed writes. Throws FormatError when the value
// cannot be packed: an element of the packed form counts its bytes in 32
// bits, so no array (nested arrays included) may take 4 GiB or more.
std::uint64_t packed_size(const Value& value);

// Writes the packed bytes of `value` to `out`, which holds packed_size(value)
// bytes. The value must satisfy the invariants of value.hpp.
void write_packed(const Value& value, std::uint8_t* out);

}  // namespace nrx
