// The values the packing codec understands, with no host types.
//
// A Value is one array of the host language: numeric, logical, char, cell or
// struct, full or (double and logical only) sparse, of any size. Bulk data is
// not owned: `real` and `imag` point at elements that live elsewhere, in the
// host's array when a value is packed and inside the packed bytes when it is
// unpacked. Such elements need not be aligned for their type, so they are
// only ever read through copy_elements (elements.hpp) or memcpy.
//
// Typical use:
//
//   nrx::Value v;                                  // 2x3 double
//   v.dims = {2, 3};
//   v.real = {nrx::ElementType::float64, data, 6};
//   std::vector<std::uint8_t> bytes(nrx::packed_size(v));
//   nrx::write_packed(v, bytes.data());
//   nrx::Value back = nrx::unpack_value(bytes.data(), bytes.size());
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace nrx {

enum class ValueClass {
    float64, float32,
    int8, uint8, int16, uint16, int32, uint32, int64, uint64,
    logical, character, cell, structure,
};

// How one stored element is laid out: the fixed-width integer or IEEE type.
enum class ElementType {
    int8, uint8, int16, uint16, int32, uint32, int64, uint64, float32, float64,
};

// A run of `count` elements of one type at `data` (possibly unaligned, not
// owned; may be null when count is 0).
struct Elements {
    ElementType type = ElementType::float64;
    const void* data = nullptr;
    std::uint64_t count = 0;
};

struct Value {
    ValueClass value_class = ValueClass::float64;
    std::vector<std::int32_t> dims{0, 0};  // at least two, each >= 0
    bool complex = false;                  // numeric classes only
    bool sparse = false;                   // float64 and logical only, two dims

    // Numeric and logical data, column-major. Full: one element per array
    // element. Sparse: one per stored element, in column order. A value to
    // be packed holds its class's own element type (uint8 for logical);
    // an unpacked one holds whatever type the bytes stored.
    Elements real;
    Elements imag;  // complex values only, as many as real

    // Sparse structure: column j's stored elements are those k with
    // column_start[j] <= k < column_start[j + 1]; row_index[k] is the
    // zero-based row of element k, increasing within each column.
    std::vector<std::int32_t> row_index;
    std::vector<std::int32_t> column_start;  // dims[1] + 1 entries, from 0

    // Char: UTF-8 bytes, one per array element, column-major (host_chars.hpp
    // converts a host's code units).
    std::string text;

    std::vector<std::string> field_names;  // struct: in order, distinct
    // Cell: one value per element. Struct: field_names.size() values per
    // element, element after element, fields in order within each.
    std::vector<Value> elements;
};

// How deep values may nest (a cell holding a cell holding a double is 3
// deep). Bounds the recursion of packing and unpacking alike.
constexpr int max_nesting_depth = 256;

// The product of dims: 0 when any is 0 (however large the others), the
// largest uint64 when it overflows (no count of stored bytes can match it).
std::uint64_t element_count(const std::vector<std::int32_t>& dims);

// A value the packed form cannot hold, or bytes that do not form a packed
// value. The text says what is wrong and is meant for the caller.
class FormatError : public std::runtime_error {
public:
    explicit FormatError(const std::string& message) : std::runtime_error(message) {}
};

// The class's name in the host language ("double", "int8", "cell", ...).
const char* class_name(ValueClass value_class);

}  // namespace nrx
