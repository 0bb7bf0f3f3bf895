#include "zovreg/utf16_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace zov::reg {
namespace {

std::string BackToUtf8(const std::u16string& units) {
    std::string back;
    std::size_t bad = 0;
    EXPECT_TRUE(Utf16ToUtf8(units, &back, &bad)) << bad;
    return back;
}

TEST(Utf16Codec, BytesThatAreNotUtf8AreEscapedAndComeBackUnchanged) {
    // A lone Latin-1 byte, a truncated sequence, an overlong slash, an encoded surrogate and a
    // code point above U+10FFFF.
    const std::string raw("\xE9t\xE2\x82\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80", 13);
    EXPECT_EQ(Utf8ToUtf16(raw).substr(0, 2), std::u16string({0xDCE9, u't'}));
    EXPECT_EQ(BackToUtf8(Utf8ToUtf16(raw)), raw);
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; second += 17) {
            const std::string pair({static_cast<char>(first), static_cast<char>(second)});
            ASSERT_EQ(BackToUtf8(Utf8ToUtf16(pair)), pair) << first << " " << second;
        }
    }
    EXPECT_TRUE(IsValidUtf8("plain \xC3\xA9 \xF0\x9F\x98\x80"));
    for (const char* bad : {"\xE9", "\xC0\xAF", "\xED\xA0\x80", "\xE2\x82"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
}

// An escaped ASCII byte (0xDC41) is never written, so it is refused like a lone surrogate.
TEST(Utf16Codec, UnpairedSurrogatesThatAreNoEscapeAreRefusedWithTheirIndex) {
    for (const std::u16string& units :
         {std::u16string{u'a', 0xD800, u'b'}, std::u16string{u'a', u'b', 0xDC41}}) {
        std::string out;
        std::size_t bad = 99;
        EXPECT_FALSE(Utf16ToUtf8(units, &out, &bad));
        EXPECT_EQ(bad, units.find_first_of(u"\xD800\xDC41"));
    }
}

}  // namespace
}  // namespace zov::reg
