// RegOpenKeyExA and RegCreateKeyExA: paths, dispositions, handles and their rights.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "registry_test_support.h"

namespace zov::test {
namespace {

class OpenCreateTest : public RegistryTest {};

TEST_F(OpenCreateTest, CreateMakesMissingLevelsAndReportsItsDisposition) {
    Build("Software\\ZovCard\n");
    HKEY key = nullptr;
    DWORD disposition = 0;
    const std::vector<std::pair<const char*, DWORD>> rows = {
        {"SYSTEM\\CurrentControlSet\\Services", REG_CREATED_NEW_KEY},
        {"SYSTEM\\CurrentControlSet\\Services", REG_OPENED_EXISTING_KEY},
        {"SOFTWARE\\zovcard", REG_OPENED_EXISTING_KEY}};  // names match without case
    for (const auto& [path, expected] : rows) {
        ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, path, &key, &disposition), ERROR_SUCCESS);
        EXPECT_EQ(disposition, expected) << path;
        RegCloseKey(key);
    }
    HKEY system = Open("SYSTEM");  // a path below an open key is relative to it
    ASSERT_EQ(CreateKey(system, "B\\C", &key, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    RegCloseKey(key);
    RegCloseKey(system);
    EXPECT_EQ(Dump("SYSTEM"), "B\nB\\C\nCurrentControlSet\nCurrentControlSet\\Services\n");
    EXPECT_EQ(Dump("software"), "ZovCard\n");  // the first spelling is kept
}

TEST_F(OpenCreateTest, BadPathsAndHivesAreRefusedAndCreateNothing) {
    // Rows: root, path, whether to create (else open), the status expected.
    const std::vector<std::tuple<HKEY, std::string, bool, LSTATUS>> rows = {
        {HKEY_LOCAL_MACHINE, "SYSTEM\\Missing", false, ERROR_FILE_NOT_FOUND},
        {HKEY_LOCAL_MACHINE, "\\SYSTEM", false, ERROR_BAD_PATHNAME},
        {HKEY_LOCAL_MACHINE, "\\X", true, ERROR_BAD_PATHNAME},
        {HKEY_LOCAL_MACHINE, std::string(256, 'K'), true, ERROR_INVALID_PARAMETER},
        {HKEY_LOCAL_MACHINE, "A\\\\B", true, ERROR_INVALID_PARAMETER},
        {HKEY_USERS, "X", true, ERROR_INVALID_HANDLE},
        {HKEY_CURRENT_USER, "Software", false, ERROR_INVALID_HANDLE}};
    for (const auto& [root, path, create, status] : rows) {
        HKEY key = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x1234));
        EXPECT_EQ(create ? CreateKey(root, path.c_str(), &key)
                         : RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key),
                  status)
            << path;
        EXPECT_EQ(key, nullptr) << path;
    }
    EXPECT_THAT(ZovRegistryDiagnostic(), ::testing::HasSubstr("HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM", 0, KEY_READ, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, "SYSTEM", nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(Exists(DatabasePath()));

    Build("SYSTEM\n");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\Missing\\Deeper", 0, KEY_ALL_ACCESS, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Dump("SYSTEM"), "");
    // The limit counts UTF-16 code units: 255 CJK characters (765 bytes) are a valid name.
    ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, Repeat("\xE4\xB8\xAD", 255).c_str(), &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(OpenCreateTest, EmptyOrNullSubkeyOpensTheSameKeyAsANewHandle) {
    Build("SYSTEM\n  Value = dword:7\n");
    HKEY system = Open("SYSTEM");
    HKEY again[2] = {};
    ASSERT_EQ(RegOpenKeyExA(system, "", 0, KEY_READ, &again[0]), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExA(system, nullptr, 0, KEY_READ, &again[1]), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(system), ERROR_SUCCESS);
    for (HKEY key : again) {
        EXPECT_EQ(QueryStatus(key, "Value"), ERROR_SUCCESS);
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);  // a handle of its own, closed once
    }
}

TEST_F(OpenCreateTest, KeyReadHandleRefusesChangesAndWriteOnlyHandleRefusesReads) {
    Build("SYSTEM\\Card1\n  ZOVIrq = dword:5\n");
    HKEY read_only = Open("SYSTEM\\Card1", KEY_READ);
    HKEY key = nullptr;
    EXPECT_EQ(CreateKey(read_only, "New", &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegSetValueExA(read_only, "ZOVIrq", 0, REG_BINARY, nullptr, 0), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueA(read_only, "ZOVIrq"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Dump("SYSTEM"), "Card1\n  ZOVIrq = dword:0x5\n");
    RegCloseKey(read_only);

    HKEY write_only = Open("SYSTEM", KEY_SET_VALUE);
    EXPECT_EQ(QueryStatus(write_only, "V"), ERROR_ACCESS_DENIED);
    std::string name(16, '\0');
    DWORD size = 16;
    EXPECT_EQ(RegEnumKeyExA(write_only, 0, name.data(), &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegEnumValueA(write_only, 0, name.data(), &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_ACCESS_DENIED);
    RegCloseKey(write_only);
}

TEST_F(OpenCreateTest, ClosedNullOrGarbageHandleIsRefusedByEveryCall) {
    Build("SYSTEM\n  V = dword:1\n");
    HKEY key = Open("SYSTEM");
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    const auto garbage = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x10002));
    for (HKEY bad : {key, garbage, static_cast<HKEY>(nullptr)}) {
        HKEY sub = nullptr;
        EXPECT_EQ(RegCloseKey(bad), ERROR_INVALID_HANDLE);
        EXPECT_EQ(QueryStatus(bad, "V"), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegSetValueExA(bad, "V", 0, REG_BINARY, nullptr, 0), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegOpenKeyExA(bad, "", 0, KEY_READ, &sub), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegDeleteKeyA(bad, "X"), ERROR_INVALID_HANDLE);
    }
}

}  // namespace
}  // namespace zov::test
