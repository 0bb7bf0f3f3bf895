// RegOpenKeyExA and RegCreateKeyExA: paths, dispositions, handles and their rights.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "registry_test_support.h"

namespace zov::test {
namespace {

constexpr const char* kParameters = "SYSTEM\\CurrentControlSet\\Services\\ZOVCOM\\Parameters";

class OpenCreateTest : public RegistryTest {};

TEST_F(OpenCreateTest, CreateMakesEveryMissingLevelAndSaysSo) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kParameters, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    for (const char* level :
         {"SYSTEM", "SYSTEM\\CurrentControlSet", "SYSTEM\\CurrentControlSet\\Services\\ZOVCOM"}) {
        HKEY opened = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, level, 0, KEY_READ, &opened), ERROR_SUCCESS)
            << level;
        RegCloseKey(opened);
    }

    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kParameters, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    RegCloseKey(key);
}

TEST_F(OpenCreateTest, CreateBelowAnOpenKeyIsRelativeToIt) {
    Build("SYSTEM\\A\n");
    HKEY a = Open("SYSTEM\\A");
    HKEY b = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(a, "B\\C", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &b, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    EXPECT_EQ(Dump("SYSTEM"), "A\nA\\B\nA\\B\\C\n");
    RegCloseKey(b);
    RegCloseKey(a);
}

TEST_F(OpenCreateTest, NamesMatchWithoutCaseAndKeepTheirFirstSpelling) {
    Build("Software\\ZovCard\n");
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\zovcard", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    RegCloseKey(key);
    EXPECT_EQ(Dump("software"), "ZovCard\n");
}

TEST_F(OpenCreateTest, OpeningAMissingKeyFailsAndCreatesNothing) {
    Build("SYSTEM\n");
    HKEY key = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x1234));
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\Missing\\Deeper", 0, KEY_ALL_ACCESS, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(Dump("SYSTEM"), "");
}

TEST_F(OpenCreateTest, LeadingBackslashIsABadPath) {
    Build("SYSTEM\n");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "\\SYSTEM", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "\\X", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(key, nullptr);
}

TEST_F(OpenCreateTest, EmptyOrNullSubkeyOpensTheSameKeyAsANewHandle) {
    Build("SYSTEM\n  Value = dword:7\n");
    HKEY system = Open("SYSTEM");
    HKEY again = nullptr;
    HKEY again_null = nullptr;
    ASSERT_EQ(RegOpenKeyExA(system, "", 0, KEY_READ, &again), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExA(system, nullptr, 0, KEY_READ, &again_null), ERROR_SUCCESS);
    EXPECT_NE(again, system);
    EXPECT_NE(again, again_null);
    EXPECT_EQ(RegCloseKey(system), ERROR_SUCCESS);
    DWORD value = 0;
    DWORD size = sizeof value;
    EXPECT_EQ(
        RegQueryValueExA(again, "Value", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(value, 7U);
    RegCloseKey(again);
    RegCloseKey(again_null);
}

TEST_F(OpenCreateTest, OverlongNameOrEmptyComponentIsRefused) {
    HKEY key = nullptr;
    const std::string overlong(256, 'K');
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, overlong.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "A\\\\B", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_INVALID_PARAMETER);
    const std::string longest(255, 'K');
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, longest.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(OpenCreateTest, CreateNeedsCreateSubkeyRightOnTheParentHandle) {
    Build("SYSTEM\n");
    HKEY read_only = Open("SYSTEM", KEY_READ);
    HKEY key = nullptr;
    EXPECT_EQ(
        RegCreateKeyExA(read_only, "New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_ACCESS_DENIED);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(Dump("SYSTEM"), "");
    RegCloseKey(read_only);
}

TEST_F(OpenCreateTest, ReadOnlyHandleRefusesEveryChange) {
    Build("SYSTEM\\Card1\n  ZOVIrq = dword:5\n");
    HKEY key = Open("SYSTEM\\Card1", KEY_READ);
    const DWORD value = 9;
    EXPECT_EQ(RegSetValueExA(key, "ZOVIrq", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                             sizeof value),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueA(key, "ZOVIrq"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Dump("SYSTEM"), "Card1\n  ZOVIrq = dword:0x5\n");
    RegCloseKey(key);
}

TEST_F(OpenCreateTest, WriteOnlyHandleCannotRead) {
    Build("SYSTEM\n  V = dword:1\n  W = dword:2\nSYSTEM\\Sub\n");
    HKEY key = Open("SYSTEM", KEY_SET_VALUE);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "V", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
    std::string name(16, '\0');
    DWORD name_size = static_cast<DWORD>(name.size());
    EXPECT_EQ(RegEnumKeyExA(key, 0, name.data(), &name_size, nullptr, nullptr, nullptr, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegEnumValueA(key, 0, name.data(), &name_size, nullptr, nullptr, nullptr, nullptr),
              ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST_F(OpenCreateTest, MissingResultPointerIsAnInvalidParameter) {
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM", 0, KEY_READ, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(Exists(DatabasePath()));
}

TEST_F(OpenCreateTest, OnlyLocalMachineExists) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(key, nullptr);
    EXPECT_THAT(ZovRegistryDiagnostic(), ::testing::HasSubstr("HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(
        RegCreateKeyExA(HKEY_USERS, "X", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_INVALID_HANDLE);
    EXPECT_FALSE(Exists(DatabasePath()));
}

TEST_F(OpenCreateTest, CloseRejectsNullGarbageAndDoubleClose) {
    Build("SYSTEM\n");
    HKEY key = Open("SYSTEM");
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0xdeadbeef))),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
}

TEST_F(OpenCreateTest, ClosedOrGarbageHandleIsRefusedByEveryCall) {
    Build("SYSTEM\n  V = dword:1\n");
    HKEY key = Open("SYSTEM");
    RegCloseKey(key);
    const auto garbage = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x10002));
    for (HKEY bad : {key, garbage, static_cast<HKEY>(nullptr)}) {
        DWORD size = 4;
        DWORD data = 0;
        HKEY sub = nullptr;
        EXPECT_EQ(
            RegQueryValueExA(bad, "V", nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size),
            ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegSetValueExA(bad, "V", 0, REG_DWORD, reinterpret_cast<BYTE*>(&data), 4),
                  ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegOpenKeyExA(bad, "", 0, KEY_READ, &sub), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegDeleteKeyA(bad, "X"), ERROR_INVALID_HANDLE);
    }
}

}  // namespace
}  // namespace zov::test
