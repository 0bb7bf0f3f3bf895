// RegQueryValueExA's size protocol and RegSetValueExA's byte-for-byte storage.
#include <gtest/gtest.h>

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

TEST_F(QueryValueTest, TooSmallBufferGivesMoreDataWithTheSizeAndStaysUntouched) {
    std::vector<BYTE> buffer(3, 0xAA);
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(key_, "DOSDeviceName", nullptr, &type, buffer.data(), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 6U);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(buffer, std::vector<BYTE>(3, 0xAA));
}

TEST_F(QueryValueTest, ExactBufferReceivesTheDataAndItsSize) {
    std::vector<BYTE> buffer(6, 0xAA);
    DWORD size = static_cast<DWORD>(buffer.size());
    ASSERT_EQ(RegQueryValueExA(key_, "DOSDeviceName", nullptr, nullptr, buffer.data(), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 6U);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), std::string("COM13\0", 6));
}

TEST_F(QueryValueTest, LargerBufferKeepsItsTailAndGetsTheActualSize) {
    std::vector<BYTE> buffer(8, 0xAA);
    DWORD size = static_cast<DWORD>(buffer.size());
    ASSERT_EQ(RegQueryValueExA(key_, "ZOVIrq", nullptr, nullptr, buffer.data(), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 4U);
    EXPECT_EQ(buffer, (std::vector<BYTE>{5, 0, 0, 0, 0xAA, 0xAA, 0xAA, 0xAA}));
}

TEST_F(QueryValueTest, NullDataAsksForTheSizeOnly) {
    DWORD size = 0;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(key_, "DOSDeviceName", nullptr, &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 6U);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(RegQueryValueExA(key_, "ZOVIrq", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
}

TEST_F(QueryValueTest, DataWithoutSizeIsAnInvalidParameter) {
    BYTE buffer = 0;
    EXPECT_EQ(RegQueryValueExA(key_, "ZOVIrq", nullptr, nullptr, &buffer, nullptr),
              ERROR_INVALID_PARAMETER);
    DWORD reserved = 0;
    DWORD size = 1;
    EXPECT_EQ(RegQueryValueExA(key_, "ZOVIrq", &reserved, nullptr, &buffer, &size),
              ERROR_INVALID_PARAMETER);
}

TEST_F(QueryValueTest, MissingValueIsNotFoundInAnyCase) {
    DWORD size = 4;
    DWORD data = 0;
    EXPECT_EQ(RegQueryValueExA(key_, "ZOVPortCount", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&data), &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(
        RegQueryValueExA(key_, "zovirq", nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(data, 5U);
}

TEST_F(QueryValueTest, StringIsStoredWithExactlyTheCountGiven) {
    const char text[] = "COM7xyz";
    ASSERT_EQ(RegSetValueExA(key_, "Short", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 4),
              ERROR_SUCCESS);
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExA(key_, "Short", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4U);
    EXPECT_EQ(Dump("Card1"),
              "  DOSDeviceName = sz:COM13\n  ZOVIrq = dword:0x5\n  Short = hex(1):43 4f 4d 37\n");
}

TEST_F(QueryValueTest, ReplacingChangesTypeAndDataAndKeepsNameAndPosition) {
    const BYTE bytes[] = {1, 2, 3};
    ASSERT_EQ(RegSetValueExA(key_, "dosdevicename", 0, REG_BINARY, bytes, sizeof bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(Dump("Card1"), "  DOSDeviceName = hex:01 02 03\n  ZOVIrq = dword:0x5\n");
}

TEST_F(QueryValueTest, EmptyDataAndDefaultValueAreKept) {
    ASSERT_EQ(RegSetValueExA(key_, nullptr, 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    DWORD size = 99;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(key_, "", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 0U);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(RegSetValueExA(key_, "X", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
}

TEST_F(QueryValueTest, DeleteValueRemovesItOnceThenNotFound) {
    EXPECT_EQ(RegDeleteValueA(key_, "ZOVIRQ"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(key_, "ZOVIrq"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Dump("Card1"), "  DOSDeviceName = sz:COM13\n");
}

TEST_F(QueryValueTest, ValuesSurviveReopeningTheDatabase) {
    CloseRegistryDatabase();
    EXPECT_EQ(Dump("Card1"), "  DOSDeviceName = sz:COM13\n  ZOVIrq = dword:0x5\n");
}

}  // namespace
}  // namespace zov::test
