// RegQueryValueExA's size protocol and RegSetValueExA's byte-for-byte storage; RegEnumKeyExA and
// RegEnumValueA: order, case, buffer sizes and the end of the list.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/registry/registry_database.h"
#include "registry_test_support.h"

namespace zov::test {
namespace {

class QueryValueTest : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        Build("Card1\n  DOSDeviceName = sz:COM13\n  ZOVIrq = dword:5\n");
        key_ = Open("Card1");
    }
    void TearDown() override {
        RegCloseKey(key_);
        RegistryTest::TearDown();
    }
    HKEY key_ = nullptr;
};

TEST_F(QueryValueTest, BufferSizeDecidesBetweenMoreDataAndACopy) {
    // The status, the size reported and the caller's buffer, which starts as 0xAA bytes.
    const auto query = [this](const char* name, std::size_t buffer_size) {
        std::vector<BYTE> buffer(buffer_size, 0xAA);
        auto size = static_cast<DWORD>(buffer.size());
        const LSTATUS status = RegQueryValueExA(key_, name, nullptr, nullptr, buffer.data(), &size);
        return std::tuple{status, size, buffer};
    };
    using Result = std::tuple<LSTATUS, DWORD, std::vector<BYTE>>;
    EXPECT_EQ(query("DOSDeviceName", 3), Result(ERROR_MORE_DATA, 6, {0xAA, 0xAA, 0xAA}));
    EXPECT_EQ(query("DOSDeviceName", 6), Result(ERROR_SUCCESS, 6, {'C', 'O', 'M', '1', '3', 0}));
    EXPECT_EQ(query("zovirq", 6), Result(ERROR_SUCCESS, 4, {5, 0, 0, 0, 0xAA, 0xAA}));
    EXPECT_EQ(QueryStatus(key_, "ZOVPortCount"), ERROR_FILE_NOT_FOUND);
}

TEST_F(QueryValueTest, NullDataAsksForTheSizeAndTypeOnly) {
    DWORD size = 0;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(key_, "DOSDeviceName", nullptr, &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 6U);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(RegQueryValueExA(key_, "ZOVIrq", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    BYTE buffer = 0;
    DWORD reserved = 0;
    EXPECT_EQ(RegQueryValueExA(key_, "ZOVIrq", nullptr, nullptr, &buffer, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExA(key_, "ZOVIrq", &reserved, nullptr, &buffer, &size),
              ERROR_INVALID_PARAMETER);
}

TEST_F(QueryValueTest, SetStoresExactlyTheBytesGivenAndReplacesInPlace) {
    const char text[] = "COM7xyz";
    ASSERT_EQ(RegSetValueExA(key_, "Short", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 4),
              ERROR_SUCCESS);
    const BYTE bytes[] = {1, 2, 3};
    ASSERT_EQ(RegSetValueExA(key_, "dosdevicename", 0, REG_BINARY, bytes, sizeof bytes),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key_, nullptr, 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key_, "X", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegDeleteValueA(key_, "ZOVIRQ"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(key_, "ZOVIrq"), ERROR_FILE_NOT_FOUND);
    CloseRegistryDatabase();  // what was stored survives reopening the database
    EXPECT_EQ(Dump("Card1"),
              "  DOSDeviceName = hex:01 02 03\n  Short = hex(1):43 4f 4d 37\n  @ = hex:\n");
}

using EnumerationTest = RegistryTest;

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
