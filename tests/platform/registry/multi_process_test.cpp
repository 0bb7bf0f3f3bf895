// What only another process or another user shows: read-only users, and two processes writing
// at the same time. (A process killed in the middle of a change: tests/integrity/crash_safety.)
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "platform/format.h"
#include "platform/registry/registry_database.h"
#include "registry_test_support.h"

namespace zov::test {
namespace {

// The exit code of a child: the number (from 1) of the first check that failed, or 0.
int FirstFailed(std::initializer_list<bool> checks) {
    const auto failed = std::find(checks.begin(), checks.end(), false);
    return failed == checks.end() ? 0 : static_cast<int>(failed - checks.begin()) + 1;
}

class MultiProcessTest : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        Build("P\\Card1\n  ZOVIrq = dword:5\nP\\Card2\n  ZOVPortCount = dword:4\n");
        CloseRegistryDatabase();
        before_ = Dump("P");
        CloseRegistryDatabase();
    }

    std::string before_;
};

TEST_F(MultiProcessTest, ReaderOnlyUserReadsButCannotWriteAndNoReaderIsDenied) {
    // Nobody may reach the database (searchable directory, readable file); that needs root.
    if (geteuid() != 0 || chmod(Dir().c_str(), 0755) != 0 ||
        chmod(DatabasePath().c_str(), 0644) != 0) {
        GTEST_SKIP() << "needs root to drop to another user";
    }
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
                      {BecomeNobody(),
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
    EXPECT_EQ(Dump("P"), before_);
    EXPECT_FALSE(Exists(PathInDir("new")));

    ASSERT_EQ(chmod(DatabasePath().c_str(), 0600), 0);
    CloseRegistryDatabase();
    EXPECT_EQ(
        RunInChild([] {
            HKEY key = nullptr;
            return FirstFailed(
                {BecomeNobody(),
                 RegOpenKeyExA(HKEY_LOCAL_MACHINE, "P", 0, KEY_READ, &key) == ERROR_ACCESS_DENIED,
                 std::string(ZovRegistryDiagnostic()).find("read permission") !=
                     std::string::npos});
        }),
        0);
}

TEST_F(MultiProcessTest, TwoProcessesWritingAtOnceLoseNothing) {
    ASSERT_EQ(SetDword("P", "Counter", 0), ERROR_SUCCESS);
    CloseRegistryDatabase();
    constexpr int kValues = 100;
    const auto writer = [](int id) {
        for (int n = 0; n < kValues; ++n) {
            if (SetDword(FormatText("W\\Writer%d", id), FormatText("V%d", n),
                         static_cast<DWORD>(n)) != ERROR_SUCCESS) {
                return 1;
            }
            // Read, add one, write back: only serialised transactions keep every one.
            RegistryTransaction transaction;
            DWORD counter = 0;
            if (transaction.Status() != ERROR_SUCCESS ||
                GetDword("P", "Counter", &counter) != ERROR_SUCCESS ||
                SetDword("P", "Counter", counter + 1) != ERROR_SUCCESS ||
                transaction.Commit() != ERROR_SUCCESS) {
                return 2;
            }
        }
        return 0;
    };
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        _exit(writer(2));
    }
    EXPECT_EQ(writer(1), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    DWORD counter = 0;
    ASSERT_EQ(GetDword("P", "Counter", &counter), ERROR_SUCCESS);
    EXPECT_EQ(counter, 2U * kValues);
    std::string expected;
    for (int n = 0; n < kValues; ++n) {
        expected += FormatText("  V%d = dword:0x%X\n", n, n);
    }
    EXPECT_EQ(Dump("W\\Writer1"), expected);
    EXPECT_EQ(Dump("W\\Writer2"), expected);
}

}  // namespace
}  // namespace zov::test
