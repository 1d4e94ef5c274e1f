// Host char arrays of both code-unit widths against the codec's UTF-8 text.
#include "serialise/host_chars.hpp"
#include "serialise/value.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Dims = std::vector<std::int32_t>;

template <class Convert>
std::string refusal(Convert convert)
{
    try {
        convert();
    } catch (const nrx::FormatError& error) {
        return error.what();
    }
    return "not refused";
}

TEST(HostChars, EightBitUnitsAreTheTextItselfWhateverTheBytes)
{
    const char units[] = {'a', '\xC3', '\xFF', 'b'};
    Dims dims = {2, 2};
    const std::string text = nrx::text_of_host_chars(units, dims);
    EXPECT_EQ(text, std::string(units, 4));
    EXPECT_EQ(nrx::host_chars_of_text<char>(text, dims), std::vector<char>(units, units + 4));
    EXPECT_EQ(dims, (Dims{2, 2}));
}

TEST(HostChars, SixteenBitRowsBecomeUtf8RowsAndBack)
{
    // Rows "éé", "x€" and one surrogate pair, each 4 bytes of UTF-8, column-major.
    const char16_t units[] = {0xE9, 'x', 0xD83D, 0xE9, 0x20AC, 0xDE00};
    Dims dims = {3, 2, 1};
    const std::string text = nrx::text_of_host_chars(units, dims);
    EXPECT_EQ(dims, (Dims{3, 4, 1}));
    EXPECT_EQ(text, "\xC3x\xF0\xA9\xE2\x9F\xC3\x82\x98\xA9\xAC\x80");
    EXPECT_EQ(nrx::host_chars_of_text<char16_t>(text, dims), std::vector<char16_t>(units, units + 6));
    EXPECT_EQ(dims, (Dims{3, 2, 1}));
    // Pages convert alike; empty arrays keep their dims.
    const char16_t pages[] = {0xE9, 'a', 'b', 0xFC};
    dims = {1, 2, 2};
    EXPECT_EQ(nrx::text_of_host_chars(pages, dims), "\xC3\xA9" "ab\xC3\xBC");
    EXPECT_EQ(dims, (Dims{1, 3, 2}));
    dims = {0, 3};
    EXPECT_EQ(nrx::text_of_host_chars(pages, dims), "");
    EXPECT_TRUE(nrx::host_chars_of_text<char16_t>("", dims).empty());
    EXPECT_EQ(dims, (Dims{0, 3}));
}

TEST(HostChars, SixteenBitArraysWithoutRectangularFormsAreRefused)
{
    const char16_t lone[] = {'a', 0xD800};
    Dims row = {1, 2};
    EXPECT_EQ(refusal([&] { nrx::text_of_host_chars(lone, row); }),
              "Cannot pack a char array holding the unpaired surrogate 55296.");
    const char16_t e_over_a[] = {0xE9, 'a'};
    Dims column = {2, 1};
    EXPECT_EQ(refusal([&] { nrx::text_of_host_chars(e_over_a, column); }),
              "Cannot pack a char array whose rows differ in length as UTF-8 text: the packed form holds each row "
              "of a char array as the same number of bytes.");
    // Rows "é" over "ab": 2 bytes each, but 1 and 2 code units.
    Dims square = {2, 2};
    EXPECT_EQ(refusal([&] { nrx::host_chars_of_text<char16_t>("\xC3" "a" "\xA9" "b", square); }),
              "Cannot unpack a char array whose rows differ in length as UTF-16 text: the host holds each row of a "
              "char array as the same number of code units.");
    Dims one = {1, 1};
    EXPECT_EQ(refusal([&] { nrx::host_chars_of_text<char16_t>("\xFF", one); }),
              "Cannot unpack a char array that is not UTF-8 text: this host holds char arrays as UTF-16.");
    EXPECT_EQ(row, (Dims{1, 2}));
    EXPECT_EQ(square, (Dims{2, 2}));
}

}  // namespace
