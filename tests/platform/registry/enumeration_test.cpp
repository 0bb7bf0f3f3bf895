// RegEnumKeyExA and RegEnumValueA: order, case, buffer sizes and the end of the list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry_test_support.h"

namespace zov::test {
namespace {

class EnumerationTest : public RegistryTest {};

TEST_F(EnumerationTest, SubkeysComeInUpperCasedOrderAndValuesInTheOrderFirstSet) {
    // Upper-cased, '_' (0x5F) sorts after the letters; SQLite's NOCASE would put it first.
    Build("Root\\b\nRoot\\_x\nRoot\\A\nRoot\\Card10\nRoot\\card2\nRoot\\Card1\n");
    EXPECT_EQ(Dump("Root"), "A\nb\nCard1\nCard10\ncard2\n_x\n");
    Build("Values\n  Zeta = dword:1\n  alpha = dword:2\n  Mid = dword:3\n  ZETA = dword:4\n");
    EXPECT_EQ(Dump("Values"), "  Zeta = dword:0x4\n  alpha = dword:0x2\n  Mid = dword:0x3\n");
}

TEST_F(EnumerationTest, NamesAndDataFollowTheSizeProtocolAndTheListEnds) {
    Build("Root\n  DOSDeviceName = sz:COM5\nRoot\\Port10\n");
    HKEY root = Open("Root", KEY_READ);
    std::string name(14, '#');
    std::vector<BYTE> data(5, 0xAA);
    DWORD size = 0;
    DWORD data_size = 0;
    DWORD type = 0;
    const auto key_at = [&](DWORD index, DWORD name_size) {
        size = name_size;
        return RegEnumKeyExA(root, index, name.data(), &size, nullptr, nullptr, nullptr, nullptr);
    };
    const auto value_at = [&](DWORD index, DWORD name_size, DWORD buffer_size) {
        size = name_size;
        data_size = buffer_size;
        return RegEnumValueA(root, index, name.data(), &size, nullptr, &type, data.data(),
                             &data_size);
    };
    EXPECT_EQ(key_at(0, 6), ERROR_MORE_DATA);  // "Port10" needs 7 with its zero
    EXPECT_EQ(name, std::string(14, '#'));
    ASSERT_EQ(key_at(0, 7), ERROR_SUCCESS);
    EXPECT_EQ(size, 6U);
    EXPECT_EQ(name.substr(0, 7), std::string("Port10\0", 7));

    EXPECT_EQ(value_at(0, 13, 5), ERROR_MORE_DATA);  // "DOSDeviceName" needs 14
    EXPECT_EQ(value_at(0, 14, 2), ERROR_MORE_DATA);  // its data needs 5
    EXPECT_EQ(data_size, 5U);
    EXPECT_EQ(data, std::vector<BYTE>(5, 0xAA));
    ASSERT_EQ(value_at(0, 14, 5), ERROR_SUCCESS);
    EXPECT_EQ(name.substr(0, size), "DOSDeviceName");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::string(data.begin(), data.end()), std::string("COM5\0", 5));
    EXPECT_EQ(key_at(1, 14), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(value_at(1, 14, 5), ERROR_NO_MORE_ITEMS);
    RegCloseKey(root);
}

}  // namespace
}  // namespace zov::test
