// RegQueryValueExA's size protocol and RegSetValueExA's byte-for-byte storage.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zov::test
