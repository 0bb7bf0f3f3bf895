// The texts the properties dialog makes of stored numbers: base addresses of any stored size,
// the short hexadecimal of interrupts, buses and slots, and the decimal port count.
#include "ui/card_property_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/res/dialog_templates.h"
#include "ui/res/resource.h"

namespace zov {
namespace {

using Bytes = std::vector<BYTE>;

// The little-endian bytes of a number, as a REG_DWORD holds it.
Bytes DwordBytes(DWORD value) {
    return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
            static_cast<BYTE>(value >> 24)};
}

TEST(BaseAddressTextOfDword, ShowsTheTwoLowBytesWithoutALeadingZero) {
    EXPECT_EQ(BaseAddressText(DwordBytes(0x3F0)), "0x3f0");
    EXPECT_EQ(BaseAddressText(DwordBytes(0x100)), "0x100");
    EXPECT_EQ(BaseAddressText(DwordBytes(0x180)), "0x180");
    EXPECT_EQ(BaseAddressText(DwordBytes(0x308)), "0x308");
    EXPECT_EQ(BaseAddressText(DwordBytes(0x1F0)), "0x1f0");
}

TEST(BaseAddressTextOfDword, ZeroHighByteIsWrittenAsTwoZeros) {
    EXPECT_EQ(BaseAddressText(DwordBytes(0xF0)), "0x00f0");
    EXPECT_EQ(BaseAddressText(DwordBytes(0x5)), "0x0005");
}

TEST(BaseAddressTextOfDword, ZeroIsFourZeros) {
    EXPECT_EQ(BaseAddressText(DwordBytes(0)), "0x0000");
}

TEST(BaseAddressTextOfDword, ZeroLowByteIsWrittenAsTwoZeros) {
    EXPECT_EQ(BaseAddressText(DwordBytes(0x200)), "0x200");
    EXPECT_EQ(BaseAddressText(DwordBytes(0xA00)), "0xa00");
}

TEST(BaseAddressTextOfDword, NumberAboveFFFFLosesItsHighDigits) {
    EXPECT_EQ(BaseAddressText(DwordBytes(0x12345)), "0x2345");
    EXPECT_EQ(BaseAddressText(DwordBytes(0xABCD03F0)), "0x3f0");
    EXPECT_EQ(BaseAddressText(DwordBytes(0x10000)), "0x0000");
}

TEST(BaseAddressTextOfDword, EveryAddressOfTheSettingsListKeepsAllItsDigits) {
    int addresses = 0;
    for (const DialogInitEntry& entry : zovcfg::res::CardSettingsInitData().entries) {
        if (entry.controlId != IDC_BASE_ADDRESS) {
            continue;
        }
        ++addresses;
        const auto address = static_cast<DWORD>(std::strtoul(entry.text.c_str(), nullptr, 16));
        std::string expected = "0x" + entry.text;
        std::transform(expected.begin(), expected.end(), expected.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        EXPECT_EQ(BaseAddressText(DwordBytes(address)), expected) << "list entry " << entry.text;
    }
    // 0x100 to 0x3F0 in steps of 0x10.
    EXPECT_EQ(addresses, 48);
}

TEST(BaseAddressTextOfOtherSizes, EmptyValueIsJustThePrefix) {
    EXPECT_EQ(BaseAddressText({}), "0x");
}

TEST(BaseAddressTextOfOtherSizes, TwoBytesShowOnlyTheLowByte) {
    EXPECT_EQ(BaseAddressText({0xF0, 0x03}), "0xf0");
    EXPECT_EQ(BaseAddressText({0x05, 0x03}), "0x5");
    EXPECT_EQ(BaseAddressText({0x00, 0x03}), "0x00");
}

TEST(BaseAddressTextOfOtherSizes, EightBytesShowTheFourLowBytes) {
    EXPECT_EQ(BaseAddressText({0xF0, 0x03, 0x00, 0x00, 0x77, 0x77, 0x77, 0x77}), "0x000003f0");
    EXPECT_EQ(BaseAddressText({0x08, 0x03, 0x02, 0x01, 0, 0, 0, 0}), "0x1020308");
    EXPECT_EQ(BaseAddressText({0xAB, 0xCD, 0xEF, 0x12, 0, 0, 0, 0}), "0x12efcdab");
}

TEST(BaseAddressTextOfOtherSizes, EightByteValueIsLongerThanTheEditAccepts) {
    EXPECT_GT(BaseAddressText({0xF0, 0x03, 0, 0, 0, 0, 0, 0}).size(), 8U);
}

TEST(BaseAddressTextOfOtherSizes, OddSizesRoundHalfUp) {
    // One byte: byte 0 alone.
    EXPECT_EQ(BaseAddressText({0x0A}), "0xa");
    EXPECT_EQ(BaseAddressText({0x00}), "0x00");
    // Three bytes: bytes 1 and 0.
    EXPECT_EQ(BaseAddressText({0xF0, 0x03, 0x07}), "0x3f0");
    // Five bytes: bytes 2, 1 and 0.
    EXPECT_EQ(BaseAddressText({0x01, 0x02, 0x03, 0x04, 0x05}), "0x30201");
    // Seven bytes: bytes 3 to 0, already longer than eight characters.
    EXPECT_EQ(BaseAddressText({0x01, 0x02, 0x03, 0x14, 0, 0, 0}), "0x14030201");
}

TEST(BaseAddressTextOfOtherSizes, LargestReadableValueStaysWithinItsBytes) {
    // Fifteen bytes are all a read takes: bytes 7 to 0.
    Bytes bytes(15, 0xFF);
    bytes[7] = 0x0C;
    EXPECT_EQ(BaseAddressText(bytes), "0xc" + std::string(14, 'f'));
}

TEST(ShortHexText, ShowsTheFirstByteInLowerCaseHexWithoutLeadingZeros) {
    EXPECT_EQ(ShortHexText(DwordBytes(10)), "0xa");
    EXPECT_EQ(ShortHexText(DwordBytes(5)), "0x5");
    EXPECT_EQ(ShortHexText(DwordBytes(0)), "0x0");
    EXPECT_EQ(ShortHexText(DwordBytes(11)), "0xb");
    EXPECT_EQ(ShortHexText(DwordBytes(200)), "0xc8");
    EXPECT_EQ(ShortHexText(DwordBytes(17)), "0x11");
}

TEST(ShortHexText, IgnoresEveryByteAfterTheFirst) {
    EXPECT_EQ(ShortHexText(DwordBytes(0x12C)), "0x2c");
    EXPECT_EQ(ShortHexText({0xFF}), "0xff");
}

TEST(ShortHexText, EmptyValueGivesAnEmptyText) {
    EXPECT_EQ(ShortHexText({}), "");
}

TEST(FirstByteDecimalText, ShowsTheFirstByteInDecimal) {
    EXPECT_EQ(FirstByteDecimalText(DwordBytes(16)), "16");
    EXPECT_EQ(FirstByteDecimalText(DwordBytes(8)), "8");
    EXPECT_EQ(FirstByteDecimalText(DwordBytes(0)), "0");
    EXPECT_EQ(FirstByteDecimalText(DwordBytes(255)), "255");
}

TEST(FirstByteDecimalText, IgnoresEveryByteAfterTheFirst) {
    EXPECT_EQ(FirstByteDecimalText(DwordBytes(300)), "44");
    EXPECT_EQ(FirstByteDecimalText({0x07, 0x01}), "7");
}

TEST(FirstByteDecimalText, EmptyValueGivesAnEmptyText) {
    EXPECT_EQ(FirstByteDecimalText({}), "");
}

}  // namespace
}  // namespace zov
