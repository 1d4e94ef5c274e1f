#include "serialise/text.hpp"

#include <gtest/gtest.h>

namespace {

TEST(Text, Utf8DecodesEveryLengthAndRefusesMalformedSequences)
{
    EXPECT_EQ(nrx::decode_utf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"),
              (std::vector<char32_t>{U'a', U'\u00E9', U'\u20AC', U'\U0001F600'}));
    for (const char* bad : {"\xC3", "\xE2\x82", "\xC3\x28", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                            "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\x80"}) {
        EXPECT_FALSE(nrx::decode_utf8(bad)) << bad;  // truncated, overlong, surrogate, too large, stray
    }
}

TEST(Text, Utf16UsesSurrogatePairsBeyondTheBasicPlane)
{
    EXPECT_EQ(nrx::utf16_from_utf8("\xC3\xA9\xF0\x9F\x98\x80"), (std::u16string{0x00E9, 0xD83D, 0xDE00}));
    EXPECT_EQ(nrx::utf16_from_utf8(""), std::u16string());
    EXPECT_FALSE(nrx::utf16_from_utf8("\xFF"));
}

TEST(Text, AppendUtf8RefusesSurrogatesAndValuesBeyondUnicode)
{
    std::string out;
    EXPECT_TRUE(nrx::append_utf8(out, U'\u20AC'));
    EXPECT_TRUE(nrx::append_utf8(out, 0x10FFFF));
    EXPECT_EQ(out, "\xE2\x82\xAC\xF4\x8F\xBF\xBF");
    EXPECT_FALSE(nrx::append_utf8(out, 0xDC00));
    EXPECT_FALSE(nrx::append_utf8(out, 0x110000));
    EXPECT_EQ(out.size(), 7u);
}

}  // namespace
