// RegSaveKeyA and RegRestoreKeyA: privileges, round trip, exclusive creation, refused files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "registry_test_support.h"

namespace zov::test {
namespace {

constexpr const char* kCards =
    "P\\Card1\n"
    "  ZOVBaseAddress = dword:0x2A0\n"
    "  ZOVIrq = dword:7\n"
    "P\\Card1\\Port1\n"
    "  DOSDeviceName = sz:COM21\n"
    "P\\Card1\\Port2\n"
    "  DOSDeviceName = sz:COM22\n"
    "P\\Card2\n"
    "  ZOVPortCount = dword:8\n"
    "  Blob = hex:00 ff 10\n";

constexpr const char* kCard1Dump =
    "  ZOVBaseAddress = dword:0x2A0\n"
    "  ZOVIrq = dword:0x7\n"
    "Port1\n"
    "  DOSDeviceName = sz:COM21\n"
    "Port2\n"
    "  DOSDeviceName = sz:COM22\n";

class SaveRestoreTest : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        Build(kCards);
        EnablePrivilege(SE_BACKUP_NAME);
        EnablePrivilege(SE_RESTORE_NAME);
        hive_ = PathInDir("ZOVsavREG");
    }

    // Saves P\Card1 to hive_.
    void SaveCard1() {
        HKEY card1 = Open("P\\Card1");
        ASSERT_EQ(RegSaveKeyA(card1, hive_.c_str(), nullptr), ERROR_SUCCESS);
        RegCloseKey(card1);
    }

    std::string hive_;
};

TEST_F(SaveRestoreTest, RoundTripReplacesAnotherKindOfCardEntirely) {
    SaveCard1();
    const std::string before_card1 = Dump("P\\Card1");
    HKEY card2 = Open("P\\Card2");
    ASSERT_EQ(RegRestoreKeyA(card2, hive_.c_str(), 0), ERROR_SUCCESS);
    // The PCI card's values are gone; the ISA card's values and ports took their place.
    EXPECT_EQ(Dump("P\\Card2"), kCard1Dump);
    EXPECT_EQ(Dump("P\\Card1"), before_card1);
    // The restored key keeps its own name and its handle.
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(card2, "ZOVIrq", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(Dump("P"), std::string("Card1\n") + "  ZOVBaseAddress = dword:0x2A0\n" +
                             "  ZOVIrq = dword:0x7\n" + "Card1\\Port1\n" +
                             "  DOSDeviceName = sz:COM21\n" + "Card1\\Port2\n" +
                             "  DOSDeviceName = sz:COM22\n" + "Card2\n" +
                             "  ZOVBaseAddress = dword:0x2A0\n" + "  ZOVIrq = dword:0x7\n" +
                             "Card2\\Port1\n" + "  DOSDeviceName = sz:COM21\n" + "Card2\\Port2\n" +
                             "  DOSDeviceName = sz:COM22\n");
    RegCloseKey(card2);
}

TEST_F(SaveRestoreTest, SavedFileIsOwnerOnly) {
    SaveCard1();
    struct stat info {};
    ASSERT_EQ(stat(hive_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600U);
}

TEST_F(SaveRestoreTest, HandlesToFormerSubkeysBecomeDeleted) {
    Build("P\\Card2\\Old\n  X = dword:1\n");
    HKEY old = Open("P\\Card2\\Old", KEY_READ);
    SaveCard1();
    HKEY card2 = Open("P\\Card2");
    ASSERT_EQ(RegRestoreKeyA(card2, hive_.c_str(), 0), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(old, "X", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
    RegCloseKey(old);
    RegCloseKey(card2);
}

TEST_F(SaveRestoreTest, SaveNeedsTheBackupPrivilegeEnabled) {
    DisableAllPrivileges();
    HKEY card1 = Open("P\\Card1");
    EXPECT_EQ(RegSaveKeyA(card1, hive_.c_str(), nullptr), ERROR_PRIVILEGE_NOT_HELD);
    EXPECT_FALSE(Exists(hive_));
    EnablePrivilege(SE_RESTORE_NAME);
    EXPECT_EQ(RegSaveKeyA(card1, hive_.c_str(), nullptr), ERROR_PRIVILEGE_NOT_HELD);
    RegCloseKey(card1);
}

TEST_F(SaveRestoreTest, RestoreNeedsTheRestorePrivilegeEnabled) {
    SaveCard1();
    DisableAllPrivileges();
    EnablePrivilege(SE_BACKUP_NAME);
    const std::string before = Dump("P");
    HKEY card2 = Open("P\\Card2");
    EXPECT_EQ(RegRestoreKeyA(card2, hive_.c_str(), 0), ERROR_PRIVILEGE_NOT_HELD);
    EXPECT_EQ(Dump("P"), before);
    RegCloseKey(card2);
}

TEST_F(SaveRestoreTest, ExistingFileIsNeverOverwritten) {
    WriteFileBytes(hive_, {'k', 'e', 'e', 'p'});
    HKEY card1 = Open("P\\Card1");
    EXPECT_EQ(RegSaveKeyA(card1, hive_.c_str(), nullptr), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(ReadFileBytes(hive_), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
    ASSERT_EQ(mkdir(PathInDir("dir").c_str(), 0700), 0);
    EXPECT_EQ(RegSaveKeyA(card1, PathInDir("dir").c_str(), nullptr), ERROR_ALREADY_EXISTS);
    RegCloseKey(card1);
}

TEST_F(SaveRestoreTest, SymbolicLinksAreNeverFollowed) {
    const std::string target = PathInDir("target");
    ASSERT_EQ(symlink(target.c_str(), hive_.c_str()), 0);  // dangling
    HKEY card1 = Open("P\\Card1");
    EXPECT_EQ(RegSaveKeyA(card1, hive_.c_str(), nullptr), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(Exists(target));

    // A link to a valid saved file is not read either.
    const std::string real = PathInDir("real");
    ASSERT_EQ(RegSaveKeyA(card1, real.c_str(), nullptr), ERROR_SUCCESS);
    const std::string link = PathInDir("link");
    ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
    const std::string before = Dump("P");
    HKEY card2 = Open("P\\Card2");
    EXPECT_NE(RegRestoreKeyA(card2, link.c_str(), 0), ERROR_SUCCESS);
    EXPECT_EQ(Dump("P"), before);
    RegCloseKey(card2);
    RegCloseKey(card1);
}

TEST_F(SaveRestoreTest, MissingFileLeavesTheRegistryAsItWas) {
    const std::string before = Dump("P");
    HKEY card2 = Open("P\\Card2");
    EXPECT_EQ(RegRestoreKeyA(card2, PathInDir("nothing").c_str(), 0), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Dump("P"), before);
    RegCloseKey(card2);
}

TEST_F(SaveRestoreTest, ForeignFileLeavesTheRegistryAsItWas) {
    WriteFileBytes(hive_, std::vector<std::uint8_t>(512, 'x'));
    const std::string before = Dump("P");
    HKEY card2 = Open("P\\Card2");
    EXPECT_EQ(RegRestoreKeyA(card2, hive_.c_str(), 0), ERROR_NOT_REGISTRY_FILE);
    WriteFileBytes(hive_, {});
    EXPECT_EQ(RegRestoreKeyA(card2, hive_.c_str(), 0), ERROR_NOT_REGISTRY_FILE);
    EXPECT_EQ(Dump("P"), before);
    RegCloseKey(card2);
}

TEST_F(SaveRestoreTest, DamagedFileLeavesTheRegistryAsItWas) {
    SaveCard1();
    std::vector<std::uint8_t> bytes = ReadFileBytes(hive_);
    const std::string before = Dump("P");
    HKEY card2 = Open("P\\Card2");
    for (const std::size_t at : {bytes.size() / 2, bytes.size() - 1}) {
        std::vector<std::uint8_t> damaged = bytes;
        damaged[at] ^= 0x40;
        ASSERT_EQ(unlink(hive_.c_str()), 0);
        WriteFileBytes(hive_, damaged);
        EXPECT_EQ(RegRestoreKeyA(card2, hive_.c_str(), 0), ERROR_REGISTRY_CORRUPT) << at;
    }
    std::vector<std::uint8_t> truncated(bytes.begin(), bytes.end() - 3);
    WriteFileBytes(hive_, truncated);
    EXPECT_EQ(RegRestoreKeyA(card2, hive_.c_str(), 0), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(Dump("P"), before);
    RegCloseKey(card2);
}

TEST_F(SaveRestoreTest, RestoringIntoADeletedKeyFails) {
    SaveCard1();
    HKEY card2 = Open("P\\Card2");
    ASSERT_EQ(RegDeleteKeyA(card2, ""), ERROR_SUCCESS);
    EXPECT_EQ(RegRestoreKeyA(card2, hive_.c_str(), 0), ERROR_KEY_DELETED);
    EXPECT_EQ(RegSaveKeyA(card2, PathInDir("other").c_str(), nullptr), ERROR_KEY_DELETED);
    EXPECT_FALSE(Exists(PathInDir("other")));
    RegCloseKey(card2);
}

}  // namespace
}  // namespace zov::test
