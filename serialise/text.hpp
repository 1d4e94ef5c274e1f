// Unicode text conversions used by the packed char encodings. A Value holds
// char arrays as UTF-8 bytes; the packed form stores a text row as UTF-16
// code units, and files from elsewhere may store UTF-8, UTF-16 or UTF-32.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nrx {

// The code points of strict UTF-8 text: nothing when `text` holds an invalid,
// overlong or truncated sequence, a surrogate or a value beyond U+10FFFF.
std::optional<std::vector<char32_t>> decode_utf8(std::string_view text);

// The same text as UTF-16 code units, surrogate pairs for code points beyond
// U+FFFF; nothing when `text` is not strict UTF-8.
std::optional<std::u16string> utf16_from_utf8(std::string_view text);

// Appends the UTF-8 form of one code point; false (and nothing appended)
// for a surrogate or a value beyond U+10FFFF.
bool append_utf8(std::string& out, char32_t code_point);

}  // namespace nrx
