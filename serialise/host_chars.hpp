// Char arrays between a host's code units and the codec's text.
//
// A host holds a char array as one code unit per element, column-major: UTF-8
// bytes where its char is 8 bits wide, the codec's own form (Value::text),
// which passes unchanged; UTF-16 code units where it is 16 bits wide, each
// row of which becomes the UTF-8 bytes of its characters, and back. Both
// forms are rectangular, so the rows of a converted array must come out of
// equal length; that length becomes dims[1]. Empty arrays keep their dims.
//
// Typical use, the width chosen by the host's char type:
//
//   value.text = nrx::text_of_host_chars(mxGetChars(array), value.dims);
//   const auto units = nrx::host_chars_of_text<mxChar>(value.text, dims);
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "serialise/value.hpp"

namespace nrx {

namespace detail {

std::string text_of_utf16(const std::vector<std::uint32_t>& units, std::vector<std::int32_t>& dims);
std::u16string utf16_of_text(const std::string& text, std::vector<std::int32_t>& dims);

}  // namespace detail

// The text of a host char array of `dims` (at least two), and its dims in
// bytes. Throws FormatError for 16-bit code units with no UTF-8 rows: an
// unpaired surrogate, rows that differ in length as UTF-8.
template <class Unit>
std::string text_of_host_chars(const Unit* units, std::vector<std::int32_t>& dims)
{
    static_assert(sizeof(Unit) == 1 || sizeof(Unit) == 2, "a host char is a UTF-8 byte or a UTF-16 code unit");
    const std::uint64_t count = element_count(dims);
    if (count == 0) {
        return {};
    }
    if constexpr (sizeof(Unit) == 1) {
        return std::string(reinterpret_cast<const char*>(units), count);
    } else {
        return detail::text_of_utf16(std::vector<std::uint32_t>(units, units + count), dims);
    }
}

// The host code units of text laid out as `dims` (at least two), and their
// dims in code units. Throws FormatError for 16-bit code units when the text
// has no UTF-16 rows: rows that are not UTF-8, or that differ in length as
// UTF-16.
template <class Unit>
std::vector<Unit> host_chars_of_text(const std::string& text, std::vector<std::int32_t>& dims)
{
    static_assert(sizeof(Unit) == 1 || sizeof(Unit) == 2, "a host char is a UTF-8 byte or a UTF-16 code unit");
    if (text.empty()) {
        return {};
    }
    if constexpr (sizeof(Unit) == 1) {
        return std::vector<Unit>(text.begin(), text.end());
    } else {
        const std::u16string units = detail::utf16_of_text(text, dims);
        return std::vector<Unit>(units.begin(), units.end());
    }
}

}  // namespace nrx
