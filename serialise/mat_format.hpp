// The pieces of the MAT-file version 5 layout that packing and unpacking
// share.
//
// A file is a 128-byte header (116 bytes of text, 8 bytes of subsystem
// offset, a 16-bit version 0x0100 and the two characters "IM" written as one
// 16-bit number in the writer's byte order) followed by data elements. A data
// element is a tag (32-bit data type, 32-bit byte count) and its data,
// padded with zeros to a multiple of 8 bytes; data of 1 to 4 bytes may
// instead share the tag's 8 bytes (type in the low 16 bits of the first
// word, byte count in the high 16 bits, data in the second word).
//
// An array is one element of type `matrix` whose data are further elements:
// array flags (two uint32: class and flag bits, then the sparse capacity),
// dimensions (int32), name (int8), then by class:
//   numeric  real part, imaginary part if complex (any numeric data type)
//   char     the characters (UTF-8, UTF-16 or other code units)
//   sparse   row indices, column starts (int32), real part, imaginary part
//   cell     one array per element, column-major
//   struct   field name length L (int32), the names in L-byte NUL-padded
//            slots (int8), then one array per field of each element
// Logical arrays are numeric arrays (uint8) with the logical flag set.
#pragma once

#include <cstdint>
#include <optional>

#include "serialise/value.hpp"

namespace nrx::mat {

constexpr std::uint64_t header_size = 128;
constexpr std::uint64_t header_text_size = 116;
constexpr std::uint64_t version_offset = 124;
constexpr std::uint16_t version = 0x0100;
constexpr std::uint16_t hdf5_version = 0x0200;  // version 7.3 files, a different format
// 'M' then 'I' as one 16-bit number: a reader of the writer's byte order
// sees exactly this value, a reader of the other order sees it swapped.
constexpr std::uint16_t byte_order_mark = ('M' << 8) | 'I';

constexpr std::uint64_t tag_size = 8;
constexpr std::uint64_t small_data_limit = 4;

enum DataType : std::uint32_t {
    mi_int8 = 1, mi_uint8 = 2, mi_int16 = 3, mi_uint16 = 4, mi_int32 = 5, mi_uint32 = 6,
    mi_single = 7, mi_double = 9, mi_int64 = 12, mi_uint64 = 13,
    mi_matrix = 14, mi_compressed = 15, mi_utf8 = 16, mi_utf16 = 17, mi_utf32 = 18,
};

enum ArrayClass : std::uint32_t {
    mx_cell = 1, mx_struct = 2, mx_object = 3, mx_char = 4, mx_sparse = 5,
    mx_double = 6, mx_single = 7, mx_int8 = 8, mx_uint8 = 9, mx_int16 = 10, mx_uint16 = 11,
    mx_int32 = 12, mx_uint32 = 13, mx_int64 = 14, mx_uint64 = 15,
    mx_function = 16, mx_opaque = 17,
};

// Bits of the first array-flags word besides the class in its low byte.
constexpr std::uint32_t flag_complex = 0x0800;
constexpr std::uint32_t flag_logical = 0x0200;

// Field names of up to 63 bytes fit the customary 64-byte slots, which every
// reader accepts.
constexpr std::uint32_t customary_field_slot = 64;

inline std::uint64_t padded(std::uint64_t nbytes) { return (nbytes + 7) & ~std::uint64_t{7}; }

inline DataType data_type_of(ElementType type)
{
    switch (type) {
    case ElementType::int8: return mi_int8;
    case ElementType::uint8: return mi_uint8;
    case ElementType::int16: return mi_int16;
    case ElementType::uint16: return mi_uint16;
    case ElementType::int32: return mi_int32;
    case ElementType::uint32: return mi_uint32;
    case ElementType::int64: return mi_int64;
    case ElementType::uint64: return mi_uint64;
    case ElementType::float32: return mi_single;
    case ElementType::float64: return mi_double;
    }
    return mi_double;
}

// The element type of a numeric data type; nothing for any other data type.
inline std::optional<ElementType> element_type_of(std::uint32_t data_type)
{
    switch (data_type) {
    case mi_int8: return ElementType::int8;
    case mi_uint8: return ElementType::uint8;
    case mi_int16: return ElementType::int16;
    case mi_uint16: return ElementType::uint16;
    case mi_int32: return ElementType::int32;
    case mi_uint32: return ElementType::uint32;
    case mi_int64: return ElementType::int64;
    case mi_uint64: return ElementType::uint64;
    case mi_single: return ElementType::float32;
    case mi_double: return ElementType::float64;
    default: return std::nullopt;
    }
}

// Numeric classes map one to one, in the same order from double to uint64.
static_assert(static_cast<int>(ValueClass::uint64) - static_cast<int>(ValueClass::float64) == mx_uint64 - mx_double);
inline ArrayClass array_class_of_numeric(ValueClass value_class)
{
    return static_cast<ArrayClass>(mx_double + static_cast<std::uint32_t>(value_class) -
                                   static_cast<std::uint32_t>(ValueClass::float64));
}

inline std::optional<ValueClass> numeric_class_of(std::uint32_t array_class)
{
    if (array_class < mx_double || array_class > mx_uint64) {
        return std::nullopt;
    }
    return static_cast<ValueClass>(static_cast<std::uint32_t>(ValueClass::float64) + array_class - mx_double);
}

}  // namespace nrx::mat
