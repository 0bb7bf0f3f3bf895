// RegDeleteKeyA, RegDeleteTreeA, and handles whose key was deleted by this or another handle or
// process.
#include <gtest/gtest.h>

#include "registry_test_support.h"

namespace zov::test {
namespace {

constexpr const char* kTwoCards =
    "P\\Card1\n  ZOVIrq = dword:5\nP\\Card1\\Port1\n  DOSDeviceName = sz:COM3\n"
    "P\\Card2\n  ZOVPortCount = dword:4\n";
constexpr const char* kCard1Dump =
    "Card1\n  ZOVIrq = dword:0x5\nCard1\\Port1\n  DOSDeviceName = sz:COM3\n";

class DeleteTest : public RegistryTest {};

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
