// Char arrays re-encoded row by row. A char array is column-major: dims[0]
// rows by dims[1] columns by any further dimensions (pages), one character
// or code unit per element. Re-encoding a row may change its length while
// the array must stay rectangular, so every row has to come out as long as
// the first, and that length becomes the new dims[1].
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nrx {

enum class RowsProblem {
    none,
    bad_row,       // a row has no form in the new encoding
    row_too_long,  // the first row takes more than 2^31 - 1 elements
    unequal_rows,  // a row differs in length from the first
};

// The re-encoded array, or the first problem met, row (0, :, 0) first, then
// down each page.
template <class Unit>
struct Rows {
    RowsProblem problem = RowsProblem::none;
    std::basic_string<Unit> units;  // rows x length x pages, column-major
    std::int32_t length = 0;
    char32_t invalid = 0;           // bad_row of utf8_rows: the character without a UTF-8 form
};

// Characters (code points, or UTF-16 code units when `utf16`, a high
// surrogate followed by a low one along a row being one character) as rows
// of UTF-8 bytes. A character without a UTF-8 form (an unpaired surrogate,
// a value beyond U+10FFFF) makes a bad row. `characters` is not empty.
Rows<char> utf8_rows(const std::vector<std::uint32_t>& characters, const std::vector<std::int32_t>& dims, bool utf16);

// UTF-8 bytes as rows of UTF-16 code units. A row that is not strict UTF-8
// is a bad row. `text` is not empty.
Rows<char16_t> utf16_rows(const std::string& text, const std::vector<std::int32_t>& dims);

}  // namespace nrx
