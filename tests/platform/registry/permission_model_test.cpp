// Who may change the registry: the files the first write makes, whatever the umask; an
// administrator who is not root, an ordinary user, a user who may only read, and a registry made
// with the modes of an older version; journals that someone outside that trust could have
// written. (Two processes writing at once: tests/integrity/concurrent_use_test.cpp; a process
// killed in the middle of a change: tests/integrity/crash_safety_test.cpp.)
#include <gmock/gmock.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/registry/registry_database.h"
#include "registry_test_support.h"

namespace zov::test {
namespace {

using ::testing::HasSubstr;

constexpr uid_t kAdminUid = 4242;  // not root, but in group 0
constexpr uid_t kUserUid = 4243;   // in no group of the registry
constexpr uid_t kNobody = 65534;

// In a child: becomes uid with primary group uid and, for an administrator, group 0.
bool Become(uid_t uid, bool administrator) {
    const std::vector<gid_t> groups = administrator ? std::vector<gid_t>{0} : std::vector<gid_t>{};
    return setgroups(groups.size(), groups.data()) == 0 && setgid(uid) == 0 && setuid(uid) == 0;
}

unsigned ModeOf(const std::string& path, gid_t* group = nullptr) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return 0;
    }
    if (group != nullptr) {
        *group = info.st_gid;
    }
    return info.st_mode & 07777;
}

class PermissionModelTest : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        chmod(Dir().c_str(), 0755);  // others must reach the registry's folder
        database_ = PathInDir("var/zovcfg/registry.db");
        setenv("ZOVCFG_REGISTRY", database_.c_str(), 1);
        CloseRegistryDatabase();
    }
    void TearDown() override {
        umask(022);
        RegistryTest::TearDown();
    }

    // A write in a child with the given credentials: its status, or 100 + the step that failed.
    int WriteAs(uid_t uid, bool administrator, const std::string& expect_in_message = "") {
        return RunInChild([&] {
            if (!Become(uid, administrator)) {
                return 101;
            }
            const LSTATUS status = SetDword("P\\Card1", "ZOVIrq", 7);
            const std::string message = ZovRegistryDiagnostic();
            if (message.find(database_) == std::string::npos && status != ERROR_SUCCESS) {
                return 102;
            }
            if (message.find(expect_in_message) == std::string::npos) {
                return 103;
            }
            DWORD value = 0;
            if (GetDword("P\\Card1", "ZOVIrq", &value) != ERROR_SUCCESS) {
                return 104;
            }
            return static_cast<int>(status);
        });
    }

    std::string database_;
};

TEST_F(PermissionModelTest, FirstWriteMakesGroupZeroTheWritersWhateverTheUmask) {
    for (const mode_t mask : {mode_t{0}, mode_t{022}, mode_t{077}}) {
        SCOPED_TRACE(mask);
        CloseRegistryDatabase();
        std::filesystem::remove_all(PathInDir("var"));
        umask(mask);
        ASSERT_EQ(SetDword("P\\Card1", "ZOVIrq", 5), ERROR_SUCCESS);
        gid_t folder_group = 1;
        gid_t file_group = 1;
        EXPECT_EQ(ModeOf(PathInDir("var")), 0755U);
        EXPECT_EQ(ModeOf(PathInDir("var/zovcfg"), &folder_group), 02775U);
        EXPECT_EQ(ModeOf(database_, &file_group), 0664U);
        if (geteuid() != 0) {
            continue;  // the rest needs root to act as the other users
        }
        EXPECT_EQ(folder_group, 0U);
        EXPECT_EQ(file_group, 0U);
        CloseRegistryDatabase();
        EXPECT_EQ(WriteAs(kAdminUid, true), ERROR_SUCCESS);
        EXPECT_EQ(WriteAs(kUserUid, false, "only members of group root"), ERROR_ACCESS_DENIED);
    }
}

TEST_F(PermissionModelTest, RegistryOfAnOlderVersionTellsTheAdministratorWhatIsWrong) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to act as an administrator who is not root";
    }
    ASSERT_EQ(SetDword("P\\Card1", "ZOVIrq", 5), ERROR_SUCCESS);
    CloseRegistryDatabase();
    ASSERT_EQ(chmod(database_.c_str(), 0644), 0);
    EXPECT_EQ(WriteAs(kAdminUid, true, "only user root may change the registry; see PERMISSIONS"),
              ERROR_ACCESS_DENIED);
    // (A folder that the writer may not change: tests/integrity/hostile_environment_test.cpp.)
}

// The exit code of a child: the number (from 1) of the first check that failed, or 0.
int FirstFailed(std::initializer_list<bool> checks) {
    const auto failed = std::find(checks.begin(), checks.end(), false);
    return failed == checks.end() ? 0 : static_cast<int>(failed - checks.begin()) + 1;
}

TEST_F(PermissionModelTest, ReaderOnlyUserReadsButCannotWriteAndNoReaderIsDenied) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to drop to another user";
    }
    Build("P\\Card1\n  ZOVIrq = dword:5\nP\\Card2\n  ZOVPortCount = dword:4\n");
    CloseRegistryDatabase();
    const std::string before = Dump("P");
    CloseRegistryDatabase();
    const std::string missing = PathInDir("new/registry.db");
    EXPECT_EQ(RunInChild([&missing] {
                  DWORD dword = 0;
                  HKEY key = nullptr;
                  const auto snapshot = [&dword] {  // a scope still gives a reader one snapshot
                      RegistryTransaction transaction;
                      return transaction.Status() == ERROR_SUCCESS &&
                             GetDword("P\\Card2", "ZOVPortCount", &dword) == ERROR_SUCCESS &&
                             dword == 4 && transaction.Commit() == ERROR_SUCCESS;
                  };
                  const auto create_registry = [&missing] {
                      setenv("ZOVCFG_REGISTRY", missing.c_str(), 1);
                      CloseRegistryDatabase();
                      return SetDword("P", "V", 1) == ERROR_ACCESS_DENIED;
                  };
                  return FirstFailed(
                      {Become(kNobody, false),
                       GetDword("P\\Card1", "ZOVIrq", &dword) == ERROR_SUCCESS && dword == 5,
                       RegOpenKeyExA(HKEY_LOCAL_MACHINE, "P\\Card1", 0, KEY_ALL_ACCESS, &key) ==
                               ERROR_ACCESS_DENIED &&
                           key == nullptr,
                       RegSetValueExA(HKEY_LOCAL_MACHINE, "V", 0, REG_DWORD,
                                      reinterpret_cast<const BYTE*>(&dword),
                                      sizeof dword) == ERROR_ACCESS_DENIED,
                       RegDeleteKeyA(HKEY_LOCAL_MACHINE, "P\\Card2") == ERROR_ACCESS_DENIED,
                       snapshot(), create_registry()});
              }),
              0);
    EXPECT_EQ(Dump("P"), before);
    EXPECT_FALSE(Exists(PathInDir("new")));

    ASSERT_EQ(chmod(database_.c_str(), 0600), 0);
    CloseRegistryDatabase();
    EXPECT_EQ(
        RunInChild([] {
            HKEY key = nullptr;
            return FirstFailed(
                {Become(kNobody, false),
                 RegOpenKeyExA(HKEY_LOCAL_MACHINE, "P", 0, KEY_READ, &key) == ERROR_ACCESS_DENIED,
                 std::string(ZovRegistryDiagnostic()).find("read permission") !=
                     std::string::npos});
        }),
        0);
}

// A hot journal: a writer killed while its changes spill into the database file. The database
// on disk then holds half a change that only the journal can undo. The writer is an
// administrator who is not root, with a umask that would keep the journal to itself.
class JournalTest : public PermissionModelTest {
  protected:
    void SetUp() override {
        PermissionModelTest::SetUp();
        if (geteuid() != 0) {
            GTEST_SKIP() << "needs root to act as an administrator who is not root";
        }
        Build("P\\Card1\n  ZOVIrq = dword:5\n");
        CloseRegistryDatabase();
        before_ = Dump("P");
        CloseRegistryDatabase();
        ASSERT_EQ(RunInChild([this] {
                      sqlite3* db = nullptr;
                      if (!Become(kAdminUid, true)) {
                          return 1;
                      }
                      umask(077);
                      sqlite3_open_v2(database_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
                      sqlite3_exec(db,
                                   "PRAGMA cache_size=1; BEGIN;"
                                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n"
                                   " WHERE i < 2000) INSERT INTO registry_values"
                                   " SELECT 1, randomblob(8), x'41', i, 4, zeroblob(100) FROM n;"
                                   "UPDATE registry_values SET data = x'07000000';",
                                   nullptr, nullptr, nullptr);
                      raise(SIGKILL);
                      return 2;
                  }),
                  128 + SIGKILL);
        journal_ = database_ + "-journal";
    }

    std::string before_;
    std::string journal_;
};

TEST_F(JournalTest, OnlyAJournalThatNoOutsiderCouldHaveWrittenIsReplayed) {
    // The administrator's journal is group 0 and writable by the group, as the database is.
    gid_t group = 1;
    ASSERT_EQ(ModeOf(journal_, &group), 0664U) << "no journal left, or not the database's mode";
    EXPECT_EQ(group, 0U);
    struct Planted {
        uid_t owner;
        gid_t group;
        mode_t mode;
    };
    for (const Planted planted :
         {Planted{kNobody, 0, 0644}, Planted{0, 0, 0666}, Planted{0, kNobody, 0664}}) {
        SCOPED_TRACE(testing::Message()
                     << planted.owner << ":" << planted.group << " " << std::oct << planted.mode);
        ASSERT_EQ(chown(journal_.c_str(), planted.owner, planted.group), 0);
        ASSERT_EQ(chmod(journal_.c_str(), planted.mode), 0);
        CloseRegistryDatabase();
        const std::vector<std::uint8_t> file_before = ReadFileBytes(database_);
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "P", 0, KEY_READ, &key), ERROR_ACCESS_DENIED);
        EXPECT_THAT(ZovRegistryDiagnostic(), HasSubstr("not replayed"));
        EXPECT_EQ(ReadFileBytes(database_), file_before);
        EXPECT_GT(ModeOf(journal_), 0U);
    }
    // The administrator's own journal is replayed by them, which undoes the half change. (Root
    // replays its own: tests/integrity/crash_safety_test.cpp.)
    ASSERT_EQ(chown(journal_.c_str(), kAdminUid, 0), 0);
    ASSERT_EQ(chmod(journal_.c_str(), 0664), 0);
    CloseRegistryDatabase();
    const std::vector<std::uint8_t> half_changed = ReadFileBytes(database_);
    EXPECT_EQ(
        RunInChild([this] { return Become(kAdminUid, true) && Dump("P") == before_ ? 0 : 1; }), 0);
    EXPECT_NE(ReadFileBytes(database_), half_changed);
}

}  // namespace
}  // namespace zov::test
