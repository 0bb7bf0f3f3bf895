// The texts the properties dialog makes of stored numbers: base addresses of any stored size,
// the short hexadecimal of interrupts, buses and slots, and the decimal port count. (Five bytes,
// and the plain dword: PropertiesFields.)
#include "ui/card_property_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zov {
namespace {

using Bytes = std::vector<BYTE>;

// The little-endian bytes of a number, as a REG_DWORD holds it.
Bytes DwordBytes(DWORD value) {
    return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
            static_cast<BYTE>(value >> 24)};
}

struct TextCase {
    Bytes stored;
    std::string expected;
};

void ExpectTexts(std::string (*text)(const Bytes&), const std::vector<TextCase>& cases) {
    for (const TextCase& c : cases) {
        EXPECT_EQ(text(c.stored), c.expected) << "stored " << ::testing::PrintToString(c.stored);
    }
}

TEST(BaseAddressText, ShowsTheLowHalfOfTheStoredBytes) {
    Bytes fifteen(15, 0xFF);  // fifteen bytes are all a read takes: bytes 7 to 0 are shown
    fifteen[7] = 0x0C;
    ExpectTexts(BaseAddressText,
                {// A dword: the two low bytes, a zero byte written as two zeros.
                 {DwordBytes(0x3F0), "0x3f0"},
                 {DwordBytes(0xF0), "0x00f0"},
                 {DwordBytes(0x12345), "0x2345"},
                 // Other sizes: half of the bytes, odd sizes rounded up.
                 {{}, "0x"},
                 {{0x0A}, "0xa"},
                 {{0xF0, 0x03}, "0xf0"},
                 {{0xF0, 0x03, 0x07}, "0x3f0"},
                 {{0x01, 0x02, 0x03, 0x14, 0, 0, 0}, "0x14030201"},
                 {{0xF0, 0x03, 0x00, 0x00, 0x77, 0x77, 0x77, 0x77}, "0x000003f0"},
                 {{0x08, 0x03, 0x02, 0x01, 0, 0, 0, 0}, "0x1020308"},
                 {fifteen, "0xc" + std::string(14, 'f')}});
}

TEST(FirstByteTexts, ShowTheFirstByteOnlyAndNothingOfAnEmptyValue) {
    ExpectTexts(ShortHexText, {{DwordBytes(10), "0xa"},
                               {DwordBytes(200), "0xc8"},
                               {DwordBytes(0x12C), "0x2c"},
                               {{0xFF}, "0xff"},
                               {{}, ""}});
    ExpectTexts(FirstByteDecimalText, {{DwordBytes(300), "44"}, {{0x07, 0x01}, "7"}, {{}, ""}});
}

}  // namespace
}  // namespace zov
