// RegDeleteKeyA, and handles whose key was deleted by this or another handle or process.
#include <gtest/gtest.h>

#include "registry_test_support.h"

namespace zov::test {
namespace {

constexpr const char* kTwoCards =
    "P\\Card1\n"
    "  ZOVIrq = dword:5\n"
    "P\\Card1\\Port1\n"
    "  DOSDeviceName = sz:COM3\n"
    "P\\Card2\n"
    "  ZOVPortCount = dword:4\n";

class DeleteTest : public RegistryTest {};

TEST_F(DeleteTest, KeyWithSubkeysIsRefusedAndStays) {
    Build(kTwoCards);
    HKEY p = Open("P");
    EXPECT_EQ(RegDeleteKeyA(p, "Card1"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Dump("P\\Card1"), "  ZOVIrq = dword:0x5\nPort1\n  DOSDeviceName = sz:COM3\n");
    RegCloseKey(p);
}

TEST_F(DeleteTest, PortsFirstThenTheCard) {
    Build(kTwoCards);
    HKEY p = Open("P");
    EXPECT_EQ(RegDeleteKeyA(p, "card1\\PORT1"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(p, "Card1"), ERROR_SUCCESS);
    EXPECT_EQ(Dump("P"), "Card2\n  ZOVPortCount = dword:0x4\n");
    EXPECT_EQ(RegDeleteKeyA(p, "Card1"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(p);
}

TEST_F(DeleteTest, HandlesToADeletedKeyFailWithKeyDeletedButClose) {
    Build(kTwoCards);
    HKEY card2 = Open("P\\Card2");
    HKEY card2_again = Open("P\\Card2", KEY_READ);
    HKEY p = Open("P");
    ASSERT_EQ(RegDeleteKeyA(p, "Card2"), ERROR_SUCCESS);

    DWORD data = 0;
    DWORD size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(card2_again, "ZOVPortCount", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&data), &size),
              ERROR_KEY_DELETED);
    EXPECT_EQ(RegSetValueExA(card2, "X", 0, REG_DWORD, reinterpret_cast<BYTE*>(&data), 4),
              ERROR_KEY_DELETED);
    HKEY sub = nullptr;
    EXPECT_EQ(
        RegCreateKeyExA(card2, "Port1", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
        ERROR_KEY_DELETED);
    EXPECT_EQ(RegOpenKeyExA(card2, "", 0, KEY_READ, &sub), ERROR_KEY_DELETED);
    std::string name(16, '\0');
    DWORD name_size = 16;
    EXPECT_EQ(
        RegEnumValueA(card2_again, 0, name.data(), &name_size, nullptr, nullptr, nullptr, nullptr),
        ERROR_KEY_DELETED);
    EXPECT_EQ(Dump("P"), "Card1\n  ZOVIrq = dword:0x5\nCard1\\Port1\n  DOSDeviceName = sz:COM3\n");

    // A key of the same name created later is a different key.
    Build("P\\Card2\n");
    EXPECT_EQ(
        RegEnumValueA(card2_again, 0, name.data(), &name_size, nullptr, nullptr, nullptr, nullptr),
        ERROR_KEY_DELETED);

    EXPECT_EQ(RegCloseKey(card2), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(card2_again), ERROR_SUCCESS);
    RegCloseKey(p);
}

TEST_F(DeleteTest, KeyDeletedByAnotherProcessShowsAsDeletedHere) {
    Build(kTwoCards);
    HKEY card2 = Open("P\\Card2", KEY_READ);
    const int exit_code = RunInChild([] {
        HKEY p = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "P", 0, KEY_ALL_ACCESS, &p) != ERROR_SUCCESS) {
            return 1;
        }
        return RegDeleteKeyA(p, "Card2") == ERROR_SUCCESS ? 0 : 2;
    });
    ASSERT_EQ(exit_code, 0);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(card2, "ZOVPortCount", nullptr, nullptr, nullptr, &size),
              ERROR_KEY_DELETED);
    RegCloseKey(card2);
}

TEST_F(DeleteTest, EmptySubkeyDeletesTheHandlesOwnKey) {
    Build(kTwoCards);
    HKEY card2 = Open("P\\Card2");
    EXPECT_EQ(RegDeleteKeyA(card2, ""), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(card2, ""), ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, ""), ERROR_ACCESS_DENIED);
    RegCloseKey(card2);
    EXPECT_EQ(Dump("P"), "Card1\n  ZOVIrq = dword:0x5\nCard1\\Port1\n  DOSDeviceName = sz:COM3\n");
}

TEST_F(DeleteTest, DeletingFromAMissingRegistryCreatesNothing) {
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SYSTEM"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueA(HKEY_LOCAL_MACHINE, "V"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(Exists(DatabasePath()));
}

TEST_F(DeleteTest, NullSubkeyIsAnInvalidParameter) {
    Build(kTwoCards);
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, nullptr), ERROR_INVALID_PARAMETER);
}

}  // namespace
}  // namespace zov::test
