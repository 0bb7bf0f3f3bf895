// RegistryTransaction and RegistryReadScope: commit, rollback, nesting, and what other processes
// see meanwhile.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include "failing_disk.h"
#include "platform/registry/registry_database.h"
#include "registry_test_support.h"

namespace zov::test {
namespace {

constexpr const char* kCard1 = "  ZOVIrq = dword:0x5\n";

// Waits, in a child of its own, until another process holds SQLite's pending byte of the
// database: a writer whose commit waits for the readers to leave. Only a child may look, since
// closing a descriptor of the file would drop this process's own locks on it.
void WaitForAWriterAtItsCommit(const std::string& database) {
    constexpr off_t kPendingByte = 0x40000000;
    const int checked = RunInChild([&database] {
        const int fd = open(database.c_str(), O_RDONLY | O_CLOEXEC);
        struct flock lock {};
        do {
            sched_yield();
            lock = {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            lock.l_start = kPendingByte;
            lock.l_len = 1;
        } while (fcntl(fd, F_GETLK, &lock) != 0 || lock.l_type == F_UNLCK);
        return 0;
    });
    EXPECT_EQ(checked, 0);
}

class TransactionTest : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        Build("P\\Card1\n  ZOVIrq = dword:5\n");
    }
};

// (A scope without Commit rolls back: RegistryFailureTest in tests/integrity/crash_safety_test.cpp
// and the nested scopes below; readers go on while a scope writes: ReadScopeSeesOneSnapshot below.)
TEST_F(TransactionTest, SecondCommitHasNothingLeftToCommitAndTakesBackNothing) {
    {
        RegistryTransaction transaction;
        ASSERT_EQ(transaction.Status(), ERROR_SUCCESS);
        ASSERT_EQ(SetDword("P\\Card2\\Port1", "X", 1), ERROR_SUCCESS);
        EXPECT_EQ(transaction.Commit(), ERROR_SUCCESS);
        // A second Commit has nothing left to commit, and takes back nothing of the first.
        EXPECT_EQ(transaction.Commit(), ERROR_INVALID_FUNCTION);
    }
    CloseRegistryDatabase();
    EXPECT_EQ(Dump("P"),
              std::string("Card1\n") + kCard1 + "Card2\nCard2\\Port1\n  X = dword:0x1\n");
}

TEST_F(TransactionTest, NestedScopesJoinAndTheOutermostDecides) {
    // Rows: does the inner scope commit, does the outer one; only both keep "B".
    for (const auto& [inner_commits, outer_commits] :
         {std::pair{true, false}, std::pair{false, true}, std::pair{true, true}}) {
        {
            RegistryTransaction outer;
            ASSERT_EQ(SetDword("P\\Card1", "B", 2), ERROR_SUCCESS);
            {
                RegistryTransaction inner;
                EXPECT_EQ(inner.Status(), ERROR_SUCCESS);
                ASSERT_EQ(SetDword("P\\Card1", "C", 3), ERROR_SUCCESS);
                if (inner_commits) {
                    EXPECT_EQ(inner.Commit(), ERROR_SUCCESS);
                    EXPECT_EQ(inner.Commit(), ERROR_INVALID_FUNCTION);
                }
            }
            if (outer_commits) {
                // An inner scope that ended without Commit makes the outer Commit fail.
                EXPECT_EQ(outer.Commit() == ERROR_SUCCESS, inner_commits);
            }
        }
        EXPECT_EQ(Dump("P\\Card1"), inner_commits && outer_commits
                                        ? std::string(kCard1) + "  B = dword:0x2\n  C = dword:0x3\n"
                                        : kCard1)
            << inner_commits << outer_commits;
    }
}

TEST_F(TransactionTest, FailedWriteLeavesNoHalfOfItsCallInsideOrOutsideAScope) {
    // Writes counted from the reopening: the value (2 writes: the value and the key's time),
    // then the new key "New" (3) and its parent's time (4), which fails.
    EXPECT_EQ(RunInChild([] {
                  setenv("ZOVCFG_FAULT_AT_WRITE", "4", 1);
                  setenv("ZOVCFG_FAULT_MODE", "fail", 1);
                  CloseRegistryDatabase();
                  RegistryTransaction transaction;
                  HKEY key = nullptr;
                  if (SetDword("P\\Card1", "A", 1) != ERROR_SUCCESS ||
                      CreateKey(HKEY_LOCAL_MACHINE, "New\\Deeper", &key) == ERROR_SUCCESS) {
                      return 1;
                  }
                  return transaction.Commit() == ERROR_SUCCESS ? 0 : 2;
              }),
              0);
    EXPECT_EQ(Dump("P\\Card1"), std::string(kCard1) + "  A = dword:0x1\n");
    EXPECT_EQ(Dump("New"), "<cannot open New: 2>");
    // Outside a scope. Writes: "A" (1), its parent's time (2), "A\B" (3) fails.
    EXPECT_EQ(RunInChild([] {
                  setenv("ZOVCFG_FAULT_AT_WRITE", "3", 1);
                  CloseRegistryDatabase();
                  HKEY key = nullptr;
                  return CreateKey(HKEY_LOCAL_MACHINE, "P\\A\\B", &key) == ERROR_REGISTRY_IO_FAILED
                             ? 0
                             : 1;
              }),
              0);
    EXPECT_EQ(Dump("P\\A"), "<cannot open P\\A: 2>");
}

// A write that SQLite itself rolled back, with the whole transaction: a caller that goes on
// regardless gets no call through and no commit, so nothing of the scope is committed.
TEST_F(TransactionTest, ScopeThatSqliteRolledBackCommitsNothingAfterwards) {
    FailDiskWriteAt(1);  // the first page written to the journal
    {
        RegistryTransaction transaction;
        EXPECT_EQ(SetDword("P\\Card1", "A", 1), ERROR_REGISTRY_IO_FAILED);
        EXPECT_EQ(SetDword("P\\Card1", "B", 2), ERROR_REGISTRY_IO_FAILED);
        EXPECT_EQ(transaction.Commit(), ERROR_REGISTRY_IO_FAILED);
    }
    EXPECT_EQ(DiskWrites(), 1);
    FailDiskWriteAt(0);
    EXPECT_EQ(Dump("P\\Card1"), kCard1);
}

TEST_F(TransactionTest, ReadScopeInsideATransactionLeavesItsCommitWorkingAndRefusesWrites) {
    {
        RegistryTransaction transaction;
        ASSERT_EQ(SetDword("P\\Card1", "A", 1), ERROR_SUCCESS);
        {
            const RegistryReadScope scope;
            EXPECT_EQ(scope.Status(), ERROR_SUCCESS);
            DWORD value = 0;
            EXPECT_EQ(GetDword("P\\Card1", "A", &value), ERROR_SUCCESS);
            EXPECT_EQ(value, 1U);  // the transaction's own change
            EXPECT_EQ(SetDword("P\\Card1", "B", 2), ERROR_ACCESS_DENIED);
            RegistryTransaction inner;
            EXPECT_EQ(inner.Commit(), ERROR_ACCESS_DENIED);
        }
        ASSERT_EQ(SetDword("P\\Card1", "C", 3), ERROR_SUCCESS);
        EXPECT_EQ(transaction.Commit(), ERROR_SUCCESS);
    }
    CloseRegistryDatabase();
    EXPECT_EQ(Dump("P\\Card1"), std::string(kCard1) + "  A = dword:0x1\n  C = dword:0x3\n");
}

TEST_F(TransactionTest, ReadScopeSeesOneSnapshotWhileAnotherProcessWrites) {
    // The writer is forked before the scope opens: a child must not inherit SQLite's locks.
    CloseRegistryDatabase();
    int go[2] = {-1, -1};
    int written[2] = {-1, -1};
    ASSERT_EQ(pipe(go), 0);
    ASSERT_EQ(pipe(written), 0);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        // Its change is written, and its commit waits for the reader's snapshot to end.
        char signal = 0;
        const bool started = read(go[0], &signal, 1) == 1;
        RegistryTransaction transaction;
        const bool set = started && SetDword("P\\Card1", "ZOVIrq", 7) == ERROR_SUCCESS;
        const bool told = write(written[1], &signal, 1) == 1;
        _exit(set && told && transaction.Commit() == ERROR_SUCCESS ? 0 : 1);
    }
    close(go[0]);
    close(written[1]);  // a writer that dies ends the parent's wait
    DWORD before = 0;
    DWORD during = 0;
    {
        const RegistryReadScope scope;
        EXPECT_EQ(scope.Status(), ERROR_SUCCESS);
        EXPECT_EQ(GetDword("P\\Card1", "ZOVIrq", &before), ERROR_SUCCESS);
        const char signal = 'x';
        EXPECT_EQ(write(go[1], &signal, 1), 1);
        char reply = 0;
        EXPECT_EQ(read(written[0], &reply, 1), 1);
        WaitForAWriterAtItsCommit(DatabasePath());
        // Without the scope this read would wait for the writer's commit and see 7.
        EXPECT_EQ(GetDword("P\\Card1", "ZOVIrq", &during), ERROR_SUCCESS);
    }
    int status = 0;
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    close(go[1]);
    close(written[0]);
    EXPECT_EQ(before, 5U);
    EXPECT_EQ(during, 5U);
    DWORD after = 0;
    ASSERT_EQ(GetDword("P\\Card1", "ZOVIrq", &after), ERROR_SUCCESS);
    EXPECT_EQ(after, 7U);
}

}  // namespace
}  // namespace zov::test
