#include "zovreg/utf16_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace zov::reg {
namespace {

TEST(Utf16Codec, AsciiAndBmpCharactersEncodeAsSingleUnits) {
    EXPECT_EQ(Utf8ToUtf16("COM13"), u"COM13");
    EXPECT_EQ(Utf8ToUtf16("\xC3\xA9\xE2\x82\xAC"), std::u16string({0x00E9, 0x20AC}));
}

TEST(Utf16Codec, CharactersAboveTheBmpBecomeSurrogatePairs) {
    // U+1F600 is D83D DE00.
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), std::u16string({0xD83D, 0xDE00}));
    std::string back;
    std::size_t bad = 0;
    ASSERT_TRUE(Utf16ToUtf8(std::u16string({0xD83D, 0xDE00}), &back, &bad));
    EXPECT_EQ(back, "\xF0\x9F\x98\x80");
}

TEST(Utf16Codec, BytesThatAreNotUtf8AreEscapedAndComeBackUnchanged) {
    // A lone Latin-1 byte, a truncated sequence, an overlong slash, an encoded surrogate and a
    // code point above U+10FFFF: none is UTF-8, all must survive.
    const std::string raw("\xE9t\xE2\x82\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80", 13);
    const std::u16string units = Utf8ToUtf16(raw);
    EXPECT_EQ(units[0], 0xDCE9);
    EXPECT_EQ(units[1], u't');
    std::string back;
    std::size_t bad = 0;
    ASSERT_TRUE(Utf16ToUtf8(units, &back, &bad));
    EXPECT_EQ(back, raw);
}

TEST(Utf16Codec, EveryByteSequenceOfTwoBytesRoundTrips) {
    std::string raw;
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; second += 17) {
            raw.assign({static_cast<char>(first), static_cast<char>(second)});
            std::string back;
            std::size_t bad = 0;
            ASSERT_TRUE(Utf16ToUtf8(Utf8ToUtf16(raw), &back, &bad));
            ASSERT_EQ(back, raw) << first << " " << second;
        }
    }
}

TEST(Utf16Codec, UnpairedSurrogatesThatAreNoEscapeAreRefusedWithTheirIndex) {
    std::string out;
    std::size_t bad = 99;
    EXPECT_FALSE(Utf16ToUtf8(std::u16string({u'a', 0xD800, u'b'}), &out, &bad));
    EXPECT_EQ(bad, 1U);
    EXPECT_FALSE(Utf16ToUtf8(std::u16string({u'a', u'b', 0xDC41}), &out, &bad));
    EXPECT_EQ(bad, 2U);  // an escaped ASCII byte is never written
    EXPECT_FALSE(Utf16ToUtf8(std::u16string({0xD83D}), &out, &bad));
    EXPECT_EQ(bad, 0U);
}

TEST(Utf16Codec, ValidUtf8IsToldFromOtherBytes) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain \xC3\xA9 \xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xE9"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
}

TEST(Utf16Codec, LittleEndianBytesNeedAnEvenCount) {
    EXPECT_EQ(ToUtf16LeBytes(u"A\u20AC"), std::vector<std::uint8_t>({0x41, 0x00, 0xAC, 0x20}));
    const std::vector<std::uint8_t> bytes = {0x41, 0x00, 0xAC, 0x20};
    std::u16string units;
    ASSERT_TRUE(FromUtf16LeBytes(bytes.data(), bytes.size(), &units));
    EXPECT_EQ(units, u"A\u20AC");
    EXPECT_FALSE(FromUtf16LeBytes(bytes.data(), 3, &units));
}

}  // namespace
}  // namespace zov::reg
