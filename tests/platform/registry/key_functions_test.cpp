// RegOpenKeyExA and RegCreateKeyExA: paths, dispositions, handles and their rights.
// RegDeleteKeyA, RegDeleteTreeA, and handles whose key was deleted by this or another handle or
// process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "registry_test_support.h"

namespace zov::test {
namespace {

using OpenCreateTest = RegistryTest;

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

constexpr const char* kTwoCards =
    "P\\Card1\n  ZOVIrq = dword:5\nP\\Card1\\Port1\n  DOSDeviceName = sz:COM3\n"
    "P\\Card2\n  ZOVPortCount = dword:4\n";
constexpr const char* kCard1Dump =
    "Card1\n  ZOVIrq = dword:0x5\nCard1\\Port1\n  DOSDeviceName = sz:COM3\n";

using DeleteTest = RegistryTest;

TEST_F(DeleteTest, KeyWithSubkeysIsRefusedUntilItsSubkeysAreGone) {
    Build(kTwoCards);
    HKEY p = Open("P");
    EXPECT_EQ(RegDeleteKeyA(p, "Card1"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Dump("P\\Card1"), "  ZOVIrq = dword:0x5\nPort1\n  DOSDeviceName = sz:COM3\n");
    EXPECT_EQ(RegDeleteKeyA(p, "card1\\PORT1"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(p, "Card1"), ERROR_SUCCESS);
    EXPECT_EQ(Dump("P"), "Card2\n  ZOVPortCount = dword:0x4\n");
    EXPECT_EQ(RegDeleteKeyA(p, "Card1"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyA(p, nullptr), ERROR_INVALID_PARAMETER);
    RegCloseKey(p);
}

TEST_F(DeleteTest, HandlesToADeletedKeyFailWithKeyDeletedButClose) {
    Build(kTwoCards);
    HKEY card2 = Open("P\\Card2");
    HKEY card2_again = Open("P\\Card2", KEY_READ);
    HKEY port = Open("P\\Card1\\Port1");
    EXPECT_EQ(RegDeleteKeyA(card2, ""), ERROR_SUCCESS);  // "" deletes the handle's own key
    EXPECT_EQ(RegDeleteKeyA(card2, ""), ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, ""), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Dump("P"), kCard1Dump);

    EXPECT_EQ(QueryStatus(card2_again, "ZOVPortCount"), ERROR_KEY_DELETED);
    EXPECT_EQ(RegSetValueExA(card2, "X", 0, REG_BINARY, nullptr, 0), ERROR_KEY_DELETED);
    HKEY sub = nullptr;
    EXPECT_EQ(CreateKey(card2, "Port1", &sub), ERROR_KEY_DELETED);
    EXPECT_EQ(RegOpenKeyExA(card2, "", 0, KEY_READ, &sub), ERROR_KEY_DELETED);
    // A key of the same name created later is a different key.
    Build("P\\Card2\n");
    std::string name(16, '\0');
    DWORD name_size = 16;
    EXPECT_EQ(
        RegEnumValueA(card2_again, 0, name.data(), &name_size, nullptr, nullptr, nullptr, nullptr),
        ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(card2), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(card2_again), ERROR_SUCCESS);
    // A handle below a tree that another process deleted.
    ASSERT_EQ(RunInChild([] { return RegDeleteTreeA(HKEY_LOCAL_MACHINE, "P\\Card1"); }), 0);
    EXPECT_EQ(QueryStatus(port, "DOSDeviceName"), ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteTreeA(port, nullptr), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(port), ERROR_SUCCESS);
}

struct DeleteTreeCase {
    const char* what;
    const char* handle_path;  // "" for HKEY_LOCAL_MACHINE
    REGSAM access;
    const char* subkey;
    LSTATUS status;
    const char* left;  // Dump("P") afterwards
};

constexpr const char* kTwoCardsDump =
    "Card1\n  ZOVIrq = dword:0x5\nCard1\\Port1\n  DOSDeviceName = sz:COM3\n"
    "Card2\n  ZOVPortCount = dword:0x4\n";
constexpr const char* kCard1EmptiedDump = "Card1\nCard2\n  ZOVPortCount = dword:0x4\n";

TEST_F(DeleteTest, DeleteTreeRemovesASubtreeOrEmptiesTheHandlesKey) {
    const DeleteTreeCase cases[] = {
        {"a subkey with its subtree", "P", KEY_READ, "card1", ERROR_SUCCESS,
         "Card2\n  ZOVPortCount = dword:0x4\n"},
        {"a path of subkeys", "P", KEY_READ, "Card1\\Port1", ERROR_SUCCESS,
         "Card1\n  ZOVIrq = dword:0x5\nCard2\n  ZOVPortCount = dword:0x4\n"},
        {"NULL empties the key", "P\\Card1", KEY_ALL_ACCESS, nullptr, ERROR_SUCCESS,
         kCard1EmptiedDump},
        {"\"\" empties the key", "P\\Card1", DELETE | KEY_READ, "", ERROR_SUCCESS,
         kCard1EmptiedDump},
        {"a missing subkey", "P", KEY_ALL_ACCESS, "Card3", ERROR_FILE_NOT_FOUND, kTwoCardsDump},
        {"emptying without DELETE", "P\\Card1", KEY_READ, nullptr, ERROR_ACCESS_DENIED,
         kTwoCardsDump},
        {"the root", "", KEY_ALL_ACCESS, nullptr, ERROR_ACCESS_DENIED, kTwoCardsDump},
    };
    for (const DeleteTreeCase& c : cases) {
        SCOPED_TRACE(c.what);
        Build(kTwoCards);
        HKEY handle = *c.handle_path == '\0' ? HKEY_LOCAL_MACHINE : Open(c.handle_path, c.access);
        EXPECT_EQ(RegDeleteTreeA(handle, c.subkey), c.status);
        EXPECT_EQ(Dump("P"), c.left);
        RegCloseKey(handle);
        ASSERT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, "P"), ERROR_SUCCESS);
    }
}

TEST_F(DeleteTest, DeleteTreeRefusesATreeDeeperThanTheRegistryAllowsAndDeletesNothing) {
    // 513 levels below P, built in two steps since one path holds at most 512 names.
    HKEY middle = nullptr;
    ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, ("P" + Repeat("\\K", 300)).c_str(), &middle),
              ERROR_SUCCESS);
    HKEY deepest = nullptr;
    ASSERT_EQ(CreateKey(middle, ("K" + Repeat("\\K", 212)).c_str(), &deepest), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, "P"), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(RegSetValueExA(deepest, "Still", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    // One level less is within the bound.
    EXPECT_EQ(RegDeleteKeyA(deepest, ""), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, "P"), ERROR_SUCCESS);
    RegCloseKey(deepest);
    RegCloseKey(middle);
}

}  // namespace
}  // namespace zov::test
