// What only another process or another user shows: read-only users, a process killed in the
// middle of a transaction, and two processes writing at the same time.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/format.h"
#include "platform/registry/registry_database.h"
#include "registry_test_support.h"

namespace zov::test {
namespace {

constexpr const char* kCards =
    "P\\Card1\n"
    "  ZOVIrq = dword:5\n"
    "P\\Card1\\Port1\n"
    "  DOSDeviceName = sz:COM3\n"
    "P\\Card2\n"
    "  ZOVPortCount = dword:4\n";

LSTATUS SetDword(const std::string& path, const std::string& name, DWORD value) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                     KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status = RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof value);
    RegCloseKey(key);
    return status;
}

LSTATUS GetDword(const std::string& path, const std::string& name, DWORD* value) {
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    DWORD size = sizeof *value;
    status = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(value),
                              &size);
    RegCloseKey(key);
    return status;
}

class MultiProcessTest : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        Build(kCards);
        CloseRegistryDatabase();
        setenv("ZOVCFG_REGISTRY", DatabasePath().c_str(), 1);
    }

    void RequireRoot() {
        if (geteuid() != 0) {
            GTEST_SKIP() << "needs root to drop to another user";
        }
        // nobody must reach the database: the directory is searchable, the file readable.
        ASSERT_EQ(chmod(Dir().c_str(), 0755), 0);
        ASSERT_EQ(chmod(DatabasePath().c_str(), 0644), 0);
    }
};

TEST_F(MultiProcessTest, ReaderOnlyUserReadsButCannotOpenForWriting) {
    RequireRoot();
    if (IsSkipped()) {
        return;
    }
    const int exit_code = RunInChild([] {
        if (!BecomeNobody()) {
            return 1;
        }
        DWORD irq = 0;
        if (GetDword("P\\Card1", "ZOVIrq", &irq) != ERROR_SUCCESS || irq != 5) {
            return 2;
        }
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "P\\Card1", 0, KEY_ALL_ACCESS, &key) !=
                ERROR_ACCESS_DENIED ||
            key != nullptr) {
            return 3;
        }
        if (SetDword("P\\Card1", "ZOVIrq", 9) != ERROR_ACCESS_DENIED) {
            return 4;
        }
        const DWORD value = 1;
        if (RegSetValueExA(HKEY_LOCAL_MACHINE, "V", 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&value),
                           sizeof value) != ERROR_ACCESS_DENIED) {
            return 5;
        }
        if (RegDeleteKeyA(HKEY_LOCAL_MACHINE, "P\\Card2") != ERROR_ACCESS_DENIED) {
            return 6;
        }
        // A transaction scope still gives a reader one snapshot.
        RegistryTransaction transaction;
        if (transaction.Status() != ERROR_SUCCESS) {
            return 7;
        }
        if (GetDword("P\\Card2", "ZOVPortCount", &irq) != ERROR_SUCCESS || irq != 4) {
            return 8;
        }
        return transaction.Commit() == ERROR_SUCCESS ? 0 : 9;
    });
    EXPECT_EQ(exit_code, 0);
    CloseRegistryDatabase();
    EXPECT_EQ(Dump("P\\Card1"), "  ZOVIrq = dword:0x5\nPort1\n  DOSDeviceName = sz:COM3\n");
}

TEST_F(MultiProcessTest, UserWithoutReadPermissionIsDenied) {
    RequireRoot();
    if (IsSkipped()) {
        return;
    }
    ASSERT_EQ(chmod(DatabasePath().c_str(), 0600), 0);
    const int exit_code = RunInChild([] {
        if (!BecomeNobody()) {
            return 1;
        }
        HKEY key = nullptr;
        return RegOpenKeyExA(HKEY_LOCAL_MACHINE, "P", 0, KEY_READ, &key) == ERROR_ACCESS_DENIED &&
                       std::string(ZovRegistryDiagnostic()).find("read permission") !=
                           std::string::npos
                   ? 0
                   : 2;
    });
    EXPECT_EQ(exit_code, 0);
}

TEST_F(MultiProcessTest, ReaderOnlyUserCannotCreateAMissingRegistry) {
    RequireRoot();
    if (IsSkipped()) {
        return;
    }
    const std::string missing = PathInDir("new/registry.db");
    const int exit_code = RunInChild([&missing] {
        if (!BecomeNobody()) {
            return 1;
        }
        setenv("ZOVCFG_REGISTRY", missing.c_str(), 1);
        CloseRegistryDatabase();
        return SetDword("P", "V", 1) == ERROR_ACCESS_DENIED ? 0 : 2;
    });
    EXPECT_EQ(exit_code, 0);
    EXPECT_FALSE(Exists(PathInDir("new")));
}

TEST_F(MultiProcessTest, ProcessKilledInsideATransactionChangesNothing) {
    const std::string before = Dump("P");
    const std::vector<std::uint8_t> file_before = ReadFileBytes(DatabasePath());
    CloseRegistryDatabase();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        RegistryTransaction transaction;
        SetDword("P\\Card3", "ZOVPortCount", 16);
        SetDword("P\\Card1", "ZOVIrq", 11);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "P\\Card2");
        const char done = 1;
        if (write(ready[1], &done, 1) != 1) {
            _exit(1);
        }
        pause();
        _exit(2);
    }
    close(ready[1]);
    char signal_byte = 0;
    ASSERT_EQ(read(ready[0], &signal_byte, 1), 1);
    close(ready[0]);
    ASSERT_EQ(kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    EXPECT_EQ(ReadFileBytes(DatabasePath()), file_before);
    EXPECT_EQ(Dump("P"), before);
    // The dead process's locks are gone: writing works again.
    EXPECT_EQ(SetDword("P\\Card1", "ZOVIrq", 7), ERROR_SUCCESS);
}

TEST_F(MultiProcessTest, KilledAtAnyWriteOfATransactionItIsAllOrNothing) {
    const std::string before = Dump("P");
    CloseRegistryDatabase();
    // The scope makes 4 values (2 writes each) and commits (write 9).
    constexpr int kWrites = 9;
    for (int at = 1; at <= kWrites + 1; ++at) {
        const int exit_code = RunInChild([at] {
            setenv("ZOVCFG_FAULT_AT_WRITE", FormatText("%d", at).c_str(), 1);
            setenv("ZOVCFG_FAULT_MODE", "kill", 1);
            CloseRegistryDatabase();
            RegistryTransaction transaction;
            for (const char* name : {"A", "B", "C", "D"}) {
                if (SetDword("P\\Card1", name, 1) != ERROR_SUCCESS) {
                    return 1;
                }
            }
            return transaction.Commit() == ERROR_SUCCESS ? 0 : 2;
        });
        CloseRegistryDatabase();
        if (at <= kWrites) {
            EXPECT_EQ(exit_code, 128 + SIGKILL) << "killed at write " << at;
            EXPECT_EQ(Dump("P"), before) << "killed at write " << at;
        } else {
            EXPECT_EQ(exit_code, 0);
            EXPECT_EQ(Dump("P\\Card1"),
                      "  ZOVIrq = dword:0x5\n  A = dword:0x1\n  B = dword:0x1\n  C = dword:0x1\n"
                      "  D = dword:0x1\nPort1\n  DOSDeviceName = sz:COM3\n");
        }
    }
}

TEST_F(MultiProcessTest, TwoProcessesWritingAtOnceLoseNothing) {
    ASSERT_EQ(SetDword("P", "Counter", 0), ERROR_SUCCESS);
    CloseRegistryDatabase();
    constexpr int kValues = 200;
    constexpr int kIncrements = 100;
    const auto writer = [](int id) {
        return [id] {
            const std::string own = FormatText("W\\Writer%d", id);
            for (int n = 0; n < kValues; ++n) {
                if (SetDword(own, FormatText("V%d", n), static_cast<DWORD>(n)) != ERROR_SUCCESS) {
                    return 1;
                }
                if (n % 2 == 0 && n / 2 < kIncrements) {
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
            }
            return 0;
        };
    };
    const pid_t first = fork();
    ASSERT_GE(first, 0);
    if (first == 0) {
        _exit(writer(1)());
    }
    const pid_t second = fork();
    ASSERT_GE(second, 0);
    if (second == 0) {
        _exit(writer(2)());
    }
    for (const pid_t child : {first, second}) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    DWORD counter = 0;
    ASSERT_EQ(GetDword("P", "Counter", &counter), ERROR_SUCCESS);
    EXPECT_EQ(counter, 2U * kIncrements);
    for (int id = 1; id <= 2; ++id) {
        for (int n = 0; n < kValues; ++n) {
            DWORD value = 0;
            ASSERT_EQ(GetDword(FormatText("W\\Writer%d", id), FormatText("V%d", n), &value),
                      ERROR_SUCCESS)
                << id << " " << n;
            EXPECT_EQ(value, static_cast<DWORD>(n));
        }
    }
}

}  // namespace
}  // namespace zov::test
