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
    DWORD size = 6;  // "Port10" needs 7 with its zero
    EXPECT_EQ(RegEnumKeyExA(root, 0, name.data(), &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    EXPECT_EQ(name, std::string(14, '#'));
    size = 7;
    std::string klass(4, '#');
    DWORD class_size = 4;
    FILETIME written{};
    ASSERT_EQ(
        RegEnumKeyExA(root, 0, name.data(), &size, nullptr, klass.data(), &class_size, &written),
        ERROR_SUCCESS);
    EXPECT_EQ(size, 6U);
    EXPECT_EQ(name.substr(0, 7), std::string("Port10\0", 7));
    EXPECT_EQ(klass[0], '\0');
    EXPECT_EQ(class_size, 0U);
    // After 2020-01-01 (132223104000000000 in 100 ns steps since 1601).
    EXPECT_GT((static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime,
              132223104000000000ULL);

    size = 13;  // "DOSDeviceName" needs 14
    EXPECT_EQ(RegEnumValueA(root, 0, name.data(), &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    std::vector<BYTE> data(2, 0xAA);
    DWORD data_size = 2;
    DWORD type = 0;
    size = 14;
    EXPECT_EQ(RegEnumValueA(root, 0, name.data(), &size, nullptr, &type, data.data(), &data_size),
              ERROR_MORE_DATA);
    EXPECT_EQ(data_size, 5U);
    EXPECT_EQ(data, std::vector<BYTE>(2, 0xAA));
    data.assign(5, 0);
    size = 14;
    ASSERT_EQ(RegEnumValueA(root, 0, name.data(), &size, nullptr, &type, data.data(), &data_size),
              ERROR_SUCCESS);
    EXPECT_EQ(name.substr(0, size), "DOSDeviceName");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::string(data.begin(), data.end()), std::string("COM5\0", 5));

    size = 14;
    EXPECT_EQ(RegEnumKeyExA(root, 1, name.data(), &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumValueA(root, 1, name.data(), &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(root);
}

}  // namespace
}  // namespace zov::test
