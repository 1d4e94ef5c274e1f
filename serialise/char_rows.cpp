#include "serialise/char_rows.hpp"

#include <limits>
#include <optional>
#include <string_view>

#include "serialise/text.hpp"

namespace nrx {

namespace {

// Gathers each row of `in` (count elements laid out as dims) in order and
// has encode(row, out) append its new form to the empty `out`, false when
// it has none.
template <class Unit, class In, class Encode>
Rows<Unit> encode_rows(const In* in, std::uint64_t count, const std::vector<std::int32_t>& dims, Encode encode)
{
    const std::uint64_t rows = dims[0];
    const std::uint64_t columns = dims[1];
    const std::uint64_t pages = count / (rows * columns);
    Rows<Unit> result;
    std::vector<In> row(columns);
    std::basic_string<Unit> encoded;
    for (std::uint64_t page = 0; page < pages; ++page) {
        for (std::uint64_t i = 0; i < rows; ++i) {
            for (std::uint64_t j = 0; j < columns; ++j) {
                row[j] = in[i + rows * (j + columns * page)];
            }
            encoded.clear();
            if (!encode(row, encoded)) {
                result.problem = RowsProblem::bad_row;
                return result;
            }
            if (page == 0 && i == 0) {
                if (encoded.size() > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
                    result.problem = RowsProblem::row_too_long;
                    return result;
                }
                result.length = static_cast<std::int32_t>(encoded.size());
                result.units.assign(rows * result.length * pages, Unit());
            } else if (encoded.size() != static_cast<std::uint64_t>(result.length)) {
                result.problem = RowsProblem::unequal_rows;
                return result;
            }
            for (std::uint64_t b = 0; b < encoded.size(); ++b) {
                result.units[i + rows * (b + result.length * page)] = encoded[b];
            }
        }
    }
    return result;
}

}  // namespace

Rows<char> utf8_rows(const std::vector<std::uint32_t>& characters, const std::vector<std::int32_t>& dims, bool utf16)
{
    char32_t invalid = 0;
    Rows<char> rows = encode_rows<char>(
        characters.data(), characters.size(), dims,
        [utf16, &invalid](const std::vector<std::uint32_t>& row, std::string& out) {
            for (std::size_t j = 0; j < row.size(); ++j) {
                char32_t c = row[j];
                if (utf16 && c >= 0xD800 && c < 0xDC00 && j + 1 < row.size()) {
                    const char32_t low = row[j + 1];
                    if (low >= 0xDC00 && low <= 0xDFFF) {
                        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                        ++j;
                    }
                }
                if (!append_utf8(out, c)) {
                    invalid = c;
                    return false;
                }
            }
            return true;
        });
    rows.invalid = invalid;
    return rows;
}

Rows<char16_t> utf16_rows(const std::string& text, const std::vector<std::int32_t>& dims)
{
    return encode_rows<char16_t>(text.data(), text.size(), dims,
                                 [](const std::vector<char>& row, std::u16string& out) {
                                     const std::optional<std::u16string> units =
                                         utf16_from_utf8(std::string_view(row.data(), row.size()));
                                     if (units) {
                                         out = *units;
                                     }
                                     return units.has_value();
                                 });
}

}  // namespace nrx
