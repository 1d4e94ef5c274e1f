// Unpacking a MAT-file version 5 image that holds one array: what
// write_packed produces, and single-variable files that other programs write
// uncompressed (save -v6 and the like), whatever the variable's name.
//
// The bytes may come from anywhere. Anything that does not form such an
// image is refused with a FormatError that says what is wrong and where;
// unpacking never reads outside [bytes, bytes + length), allocates only in
// proportion to what the bytes describe (every count is checked against the
// bytes that remain before anything is reserved), and refuses arrays nested
// more than max_nesting_depth deep.
//
// Numeric and logical data are not copied: the Value's element runs point
// into `bytes`, which must outlive it, and keep the stored element type
// (convert with copy_elements). Char data are converted to UTF-8 rows; a
// char array whose rows would differ in length as UTF-8 is refused, since
// a Value holds char arrays as rectangular arrays of bytes.
//
// Accepted beyond what write_packed writes: numeric data stored in another
// type than the array's class; char data as UTF-8, UTF-16, UTF-32 or 8-bit
// code units; an empty array element (no data) for []; and two quirks of the
// host's own writer: sparse logical arrays stored as uint8 arrays with the
// sparse layout, and array sizes overstated by 4 bytes for each char array
// whose data are 3 or 4 bytes of UTF-8. Refused with a message of
// their own: compressed data, version 7.3 (HDF5) files, data in the other byte
// order, objects and function handles, and files of several variables.
#pragma once

#include <cstdint>

#include "serialise/value.hpp"

namespace nrx {

Value unpack_value(const std::uint8_t* bytes, std::uint64_t length);

}  // namespace nrx
