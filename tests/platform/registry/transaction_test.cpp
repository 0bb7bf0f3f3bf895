// RegistryTransaction: commit, rollback, nesting, and what other processes see meanwhile.
#include <gtest/gtest.h>

#include "platform/registry/registry_database.h"
#include "registry_test_support.h"

namespace zov::test {
namespace {

class TransactionTest : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        Build("P\\Card1\n  ZOVIrq = dword:5\n");
    }

    static LSTATUS SetDword(const char* path, const char* name, DWORD value) {
        HKEY key = nullptr;
        LSTATUS status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS,
                                         nullptr, &key, nullptr);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        status = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                sizeof value);
        RegCloseKey(key);
        return status;
    }
};

TEST_F(TransactionTest, CommitKeepsEveryChange) {
    {
        RegistryTransaction transaction;
        ASSERT_EQ(transaction.Status(), ERROR_SUCCESS);
        ASSERT_EQ(SetDword("P\\Card2", "ZOVPortCount", 8), ERROR_SUCCESS);
        ASSERT_EQ(SetDword("P\\Card2\\Port1", "X", 1), ERROR_SUCCESS);
        EXPECT_EQ(transaction.Commit(), ERROR_SUCCESS);
    }
    CloseRegistryDatabase();
    EXPECT_EQ(Dump("P"),
              "Card1\n  ZOVIrq = dword:0x5\nCard2\n  ZOVPortCount = dword:0x8\n"
              "Card2\\Port1\n  X = dword:0x1\n");
}

TEST_F(TransactionTest, ScopeWithoutCommitRollsEverythingBack) {
    const std::string before = Dump("P");
    {
        RegistryTransaction transaction;
        ASSERT_EQ(transaction.Status(), ERROR_SUCCESS);
        ASSERT_EQ(SetDword("P\\Card2", "ZOVPortCount", 8), ERROR_SUCCESS);
        HKEY p = Open("P");
        ASSERT_EQ(RegDeleteKeyA(p, "Card1"), ERROR_SUCCESS);
        RegCloseKey(p);
        // Inside, the scope sees its own changes.
        EXPECT_EQ(Dump("P"), "Card2\n  ZOVPortCount = dword:0x8\n");
    }
    EXPECT_EQ(Dump("P"), before);
}

TEST_F(TransactionTest, InnerScopeJoinsAndOuterCommitDecides) {
    {
        RegistryTransaction outer;
        ASSERT_EQ(SetDword("P\\Card1", "A", 1), ERROR_SUCCESS);
        {
            RegistryTransaction inner;
            EXPECT_EQ(inner.Status(), ERROR_SUCCESS);
            ASSERT_EQ(SetDword("P\\Card1", "B", 2), ERROR_SUCCESS);
            EXPECT_EQ(inner.Commit(), ERROR_SUCCESS);
        }
    }  // outer ends without Commit
    EXPECT_EQ(Dump("P\\Card1"), "  ZOVIrq = dword:0x5\n");
    {
        RegistryTransaction outer;
        {
            RegistryTransaction inner;
            ASSERT_EQ(SetDword("P\\Card1", "B", 2), ERROR_SUCCESS);
            EXPECT_EQ(inner.Commit(), ERROR_SUCCESS);
        }
        EXPECT_EQ(outer.Commit(), ERROR_SUCCESS);
    }
    EXPECT_EQ(Dump("P\\Card1"), "  ZOVIrq = dword:0x5\n  B = dword:0x2\n");
}

TEST_F(TransactionTest, InnerScopeWithoutCommitMakesOuterCommitFail) {
    const std::string before = Dump("P");
    {
        RegistryTransaction outer;
        ASSERT_EQ(SetDword("P\\Card1", "A", 1), ERROR_SUCCESS);
        {
            RegistryTransaction inner;
            ASSERT_EQ(SetDword("P\\Card1", "B", 2), ERROR_SUCCESS);
        }
        EXPECT_NE(outer.Commit(), ERROR_SUCCESS);
    }
    EXPECT_EQ(Dump("P"), before);
}

TEST_F(TransactionTest, CallThatFailsHalfWayInsideLeavesNoHalfOfItself) {
    // Writes of the scope, counted from the reopening: the value (2 writes: the value and the
    // key's time), then the new key "New" (3) and its parent's time (4), which fails.
    const int exit_code = RunInChild([] {
        setenv("ZOVCFG_FAULT_AT_WRITE", "4", 1);
        setenv("ZOVCFG_FAULT_MODE", "fail", 1);
        CloseRegistryDatabase();
        RegistryTransaction transaction;
        if (SetDword("P\\Card1", "A", 1) != ERROR_SUCCESS) {
            return 1;
        }
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "New\\Deeper", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr) == ERROR_SUCCESS) {
            return 2;
        }
        return transaction.Commit() == ERROR_SUCCESS ? 0 : 3;
    });
    ASSERT_EQ(exit_code, 0);
    EXPECT_EQ(Dump("P\\Card1"), "  ZOVIrq = dword:0x5\n  A = dword:0x1\n");
    EXPECT_EQ(Dump("New"), "<cannot open New: 2>");
}

TEST_F(TransactionTest, FailedWriteOutsideATransactionChangesNothing) {
    const std::string before = Dump("P");
    const int exit_code = RunInChild([] {
        setenv("ZOVCFG_FAULT_AT_WRITE", "3", 1);
        CloseRegistryDatabase();
        HKEY key = nullptr;
        // Writes: "A" (1), its parent's time (2), "A\B" (3) fails.
        return RegCreateKeyExA(HKEY_LOCAL_MACHINE, "P\\A\\B", 0, nullptr, 0, KEY_ALL_ACCESS,
                               nullptr, &key, nullptr) == ERROR_REGISTRY_IO_FAILED
                   ? 0
                   : 1;
    });
    EXPECT_EQ(exit_code, 0);
    EXPECT_EQ(Dump("P"), before);
}

TEST_F(TransactionTest, OtherProcessesSeeNothingUntilCommit) {
    RegistryTransaction transaction;
    ASSERT_EQ(SetDword("P\\Card1", "A", 1), ERROR_SUCCESS);
    const auto child_reads_a = [] {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "P\\Card1", 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return 10;
        }
        DWORD size = 0;
        const LSTATUS status = RegQueryValueExA(key, "A", nullptr, nullptr, nullptr, &size);
        return status == ERROR_SUCCESS ? 1 : status == ERROR_FILE_NOT_FOUND ? 0 : 20;
    };
    // The reader sees the state before the transaction (the rollback journal lets it read
    // while the writer holds its reserved lock).
    EXPECT_EQ(RunInChild(child_reads_a), 0);
    ASSERT_EQ(transaction.Commit(), ERROR_SUCCESS);
    EXPECT_EQ(RunInChild(child_reads_a), 1);
}

TEST_F(TransactionTest, SecondCommitIsRefused) {
    RegistryTransaction transaction;
    EXPECT_EQ(transaction.Commit(), ERROR_SUCCESS);
    EXPECT_NE(transaction.Commit(), ERROR_SUCCESS);
}

TEST_F(TransactionTest, ScopeOnAMissingRegistryCreatesItOnlyWhenItWrites) {
    CloseRegistryDatabase();
    const std::string other = PathInDir("sub/other.db");
    setenv("ZOVCFG_REGISTRY", other.c_str(), 1);
    {
        RegistryTransaction transaction;
        EXPECT_EQ(transaction.Status(), ERROR_SUCCESS);
        EXPECT_EQ(Dump("P"), "<cannot open P: 2>");
        EXPECT_EQ(transaction.Commit(), ERROR_SUCCESS);
    }
    EXPECT_FALSE(Exists(other));
    {
        RegistryTransaction transaction;
        ASSERT_EQ(SetDword("Q", "V", 3), ERROR_SUCCESS);
        EXPECT_EQ(transaction.Commit(), ERROR_SUCCESS);
    }
    CloseRegistryDatabase();
    setenv("ZOVCFG_REGISTRY", other.c_str(), 1);
    EXPECT_EQ(Dump("Q"), "  V = dword:0x3\n");
}

}  // namespace
}  // namespace zov::test
