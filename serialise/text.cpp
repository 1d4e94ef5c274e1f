#include "serialise/text.hpp"

namespace nrx {

namespace {

bool is_surrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

}  // namespace

std::optional<std::vector<char32_t>> decode_utf8(std::string_view text)
{
    // By lead byte: the bits it keeps, how many continuation bytes follow,
    // and the smallest code point such a sequence may encode (anything less
    // is an overlong form).
    struct Sequence {
        unsigned char lead_mask, lead_bits, value_mask;
        int continuations;
        char32_t smallest;
    };
    static constexpr Sequence sequences[] = {
        {0x80, 0x00, 0x7F, 0, 0},
        {0xE0, 0xC0, 0x1F, 1, 0x80},
        {0xF0, 0xE0, 0x0F, 2, 0x800},
        {0xF8, 0xF0, 0x07, 3, 0x10000},
    };
    std::vector<char32_t> points;
    points.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const Sequence* sequence = nullptr;
        for (const Sequence& s : sequences) {
            if ((lead & s.lead_mask) == s.lead_bits) {
                sequence = &s;
                break;
            }
        }
        if (!sequence || text.size() - i - 1 < static_cast<std::size_t>(sequence->continuations)) {
            return std::nullopt;
        }
        char32_t c = lead & sequence->value_mask;
        for (int k = 1; k <= sequence->continuations; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            c = (c << 6) | (next & 0x3F);
        }
        if (c < sequence->smallest || c > 0x10FFFF || is_surrogate(c)) {
            return std::nullopt;
        }
        points.push_back(c);
        i += 1 + sequence->continuations;
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
