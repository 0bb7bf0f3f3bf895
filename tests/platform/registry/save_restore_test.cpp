// RegSaveKeyA and RegRestoreKeyA: privileges, round trip, exclusive creation, refused files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

#include "registry_test_support.h"

namespace zov::test {
namespace {

constexpr const char* kCards =
    "P\\Card1\n  ZOVBaseAddress = dword:0x2A0\nP\\Card1\\Port1\n  DOSDeviceName = sz:COM21\n"
    "P\\Card2\n  ZOVPortCount = dword:8\nP\\Card2\\Old\n  X = dword:1\n";

class SaveRestoreTest : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        Build(kCards);
        EnablePrivilege(SE_BACKUP_NAME);
        EnablePrivilege(SE_RESTORE_NAME);
        hive_ = PathInDir("ZOVsavREG");
        card1_ = Open("P\\Card1");
        card2_ = Open("P\\Card2");
        before_ = Dump("P");
        ASSERT_EQ(RegSaveKeyA(card1_, hive_.c_str(), nullptr), ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(card1_);
        RegCloseKey(card2_);
        RegistryTest::TearDown();
    }
    // Restoring file into Card2 fails with status and leaves the registry as it was.
    void ExpectRestoreRefused(const std::string& file, LSTATUS status) {
        EXPECT_EQ(RegRestoreKeyA(card2_, file.c_str(), 0), status) << file;
        EXPECT_EQ(Dump("P"), before_);
    }

    std::string hive_;
    std::string before_;
    HKEY card1_ = nullptr;
    HKEY card2_ = nullptr;
};

TEST_F(SaveRestoreTest, RoundTripReplacesAnotherKindOfCardEntirely) {
    HKEY old = Open("P\\Card2\\Old", KEY_READ);
    struct stat info {};
    ASSERT_EQ(stat(hive_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600U);
    ASSERT_EQ(RegRestoreKeyA(card2_, hive_.c_str(), 0), ERROR_SUCCESS);
    // Card2's values and subkeys are gone; Card1's took their place under Card2's own name.
    const std::string card1 = "  ZOVBaseAddress = dword:0x2A0\nPort1\n  DOSDeviceName = sz:COM21\n";
    EXPECT_EQ(Dump("P\\Card1"), card1);
    EXPECT_EQ(Dump("P\\Card2"), card1);
    EXPECT_EQ(QueryStatus(card2_, "ZOVBaseAddress"), ERROR_SUCCESS);
    EXPECT_EQ(QueryStatus(old, "X"), ERROR_KEY_DELETED);
    RegCloseKey(old);
}

TEST_F(SaveRestoreTest, EachNeedsItsOwnPrivilegeEnabled) {
    DisableAllPrivileges();
    EnablePrivilege(SE_RESTORE_NAME);
    EXPECT_EQ(RegSaveKeyA(card1_, PathInDir("other").c_str(), nullptr), ERROR_PRIVILEGE_NOT_HELD);
    EXPECT_FALSE(Exists(PathInDir("other")));
    DisableAllPrivileges();
    EnablePrivilege(SE_BACKUP_NAME);
    ExpectRestoreRefused(hive_, ERROR_PRIVILEGE_NOT_HELD);
}

TEST_F(SaveRestoreTest, SaveNeverOverwritesNorFollowsALink) {
    const std::vector<std::uint8_t> saved = ReadFileBytes(hive_);
    ASSERT_EQ(mkdir(PathInDir("dir").c_str(), 0700), 0);
    ASSERT_EQ(symlink(PathInDir("target").c_str(), PathInDir("dangling").c_str()), 0);
    for (const std::string& path : {hive_, PathInDir("dir"), PathInDir("dangling")}) {
        EXPECT_EQ(RegSaveKeyA(card1_, path.c_str(), nullptr), ERROR_ALREADY_EXISTS) << path;
    }
    EXPECT_EQ(ReadFileBytes(hive_), saved);
    EXPECT_FALSE(Exists(PathInDir("target")));
}

TEST_F(SaveRestoreTest, MissingForeignDamagedOrLinkedFileLeavesTheRegistryAsItWas) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(hive_);
    ASSERT_EQ(symlink(hive_.c_str(), PathInDir("link").c_str()), 0);
    EXPECT_NE(RegRestoreKeyA(card2_, PathInDir("link").c_str(), 0), ERROR_SUCCESS);
    ExpectRestoreRefused(PathInDir("nothing"), ERROR_FILE_NOT_FOUND);

    const std::vector<std::pair<std::vector<std::uint8_t>, LSTATUS>> rows = {
        {std::vector<std::uint8_t>(512, 'x'), ERROR_NOT_REGISTRY_FILE},
        {std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 3), ERROR_REGISTRY_CORRUPT}};
    for (const auto& [file, status] : rows) {
        WriteFileBytes(PathInDir("bad"), file);
        ExpectRestoreRefused(PathInDir("bad"), status);
    }
}

TEST_F(SaveRestoreTest, DeletedKeyCanBeNeitherSavedNorRestored) {
    ASSERT_EQ(RegDeleteKeyA(card2_, "Old"), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKeyA(card2_, ""), ERROR_SUCCESS);
    EXPECT_EQ(RegRestoreKeyA(card2_, hive_.c_str(), 0), ERROR_KEY_DELETED);
    EXPECT_EQ(RegSaveKeyA(card2_, PathInDir("other").c_str(), nullptr), ERROR_KEY_DELETED);
    EXPECT_FALSE(Exists(PathInDir("other")));
}

// The restore reads what this process saved at the path, or nothing: whatever took the saved
// file's place, or sat at the path when the save was refused, is never restored.
TEST_F(SaveRestoreTest, RestoreRefusesAnythingButTheFileThisProcessSaved) {
    const std::string other = PathInDir("other");
    const struct {
        const char* name;
        std::function<void()> meddle;
        LSTATUS status;
    } kMeddling[] = {
        {"renamed over",
         [&] {
             ASSERT_EQ(RegSaveKeyA(card2_, other.c_str(), nullptr), ERROR_SUCCESS);
             ASSERT_EQ(rename(other.c_str(), hive_.c_str()), 0);
         },
         ERROR_REGISTRY_CORRUPT},
        {"linked elsewhere", [&] { ASSERT_EQ(link(hive_.c_str(), other.c_str()), 0); },
         ERROR_REGISTRY_CORRUPT},
        {"save refused over a planted file",
         [&] { ASSERT_EQ(RegSaveKeyA(card2_, hive_.c_str(), nullptr), ERROR_ALREADY_EXISTS); },
         ERROR_FILE_NOT_FOUND},
    };
    for (const auto& meddling : kMeddling) {
        SCOPED_TRACE(meddling.name);
        unlink(hive_.c_str());
        unlink(other.c_str());
        ASSERT_EQ(RegSaveKeyA(card1_, hive_.c_str(), nullptr), ERROR_SUCCESS);
        meddling.meddle();
        ExpectRestoreRefused(hive_, meddling.status);
    }
}

}  // namespace
}  // namespace zov::test
