#include "serialise/host_chars.hpp"

#include <string>

#include "serialise/char_rows.hpp"
#include "serialise/value.hpp"

namespace nrx::detail {

std::string text_of_utf16(const std::vector<std::uint32_t>& units, std::vector<std::int32_t>& dims)
{
    Rows<char> rows = utf8_rows(units, dims, true);
    switch (rows.problem) {
    case RowsProblem::none: break;
    case RowsProblem::bad_row:
        throw FormatError("Cannot pack a char array holding the unpaired surrogate " + std::to_string(rows.invalid) +
                          ".");
    case RowsProblem::row_too_long:
        throw FormatError("Cannot pack a char array whose rows take more than 2^31 - 1 bytes as UTF-8.");
    case RowsProblem::unequal_rows:
        throw FormatError(
            "Cannot pack a char array whose rows differ in length as UTF-8 text: the packed form holds each row of a "
            "char array as the same number of bytes.");
    }
    dims[1] = rows.length;
    return std::move(rows.units);
}

std::u16string utf16_of_text(const std::string& text, std::vector<std::int32_t>& dims)
{
    Rows<char16_t> rows = utf16_rows(text, dims);
    switch (rows.problem) {
    case RowsProblem::none: break;
    case RowsProblem::bad_row:
        throw FormatError("Cannot unpack a char array that is not UTF-8 text: this host holds char arrays as UTF-16.");
    case RowsProblem::row_too_long:  // a row has no more UTF-16 code units than UTF-8 bytes
    case RowsProblem::unequal_rows:
        throw FormatError(
            "Cannot unpack a char array whose rows differ in length as UTF-16 text: the host holds each row of a "
            "char array as the same number of code units.");
    }
    dims[1] = rows.length;
    return std::move(rows.units);
}

}  // namespace nrx::detail
