#include "serialise/text.hpp"

namespace nrx {

namespace {

bool is_surrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

}  // namespace

std::optional<std::vector<char32_t>> decode_utf8(std::string_view text)
{
    std::vector<char32_t> points;
    points.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int trailing;
        char32_t c;
        char32_t smallest;  // below this the sequence is overlong
        if (lead < 0x80) {
            trailing = 0, c = lead, smallest = 0;
        } else if ((lead & 0xE0) == 0xC0) {
            trailing = 1, c = lead & 0x1F, smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            trailing = 2, c = lead & 0x0F, smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            trailing = 3, c = lead & 0x07, smallest = 0x10000;
        } else {
            return std::nullopt;
        }
        if (text.size() - i - 1 < static_cast<std::size_t>(trailing)) {
            return std::nullopt;
        }
        for (int k = 1; k <= trailing; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            c = (c << 6) | (next & 0x3F);
        }
        if (c < smallest || c > 0x10FFFF || is_surrogate(c)) {
            return std::nullopt;
        }
        points.push_back(c);
        i += 1 + trailing;
    }
    return points;
}

std::optional<std::u16string> utf16_from_utf8(std::string_view text)
{
    const auto points = decode_utf8(text);
    if (!points) {
        return std::nullopt;
    }
    std::u16string units;
    units.reserve(points->size());
    for (char32_t c : *points) {
        if (c < 0x10000) {
            units.push_back(static_cast<char16_t>(c));
        } else {
            c -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        }
    }
    return units;
}

bool append_utf8(std::string& out, char32_t c)
{
    if (c > 0x10FFFF || is_surrogate(c)) {
        return false;
    }
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    return true;
}

}  // namespace nrx
