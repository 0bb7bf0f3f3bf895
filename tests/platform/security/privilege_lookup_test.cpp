#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

LUID LookUp(LPCSTR system, LPCSTR name) {
    LUID luid{0xFFFF, -1};
    EXPECT_TRUE(LookupPrivilegeValueA(system, name, &luid)) << name;
    return luid;
}

TEST(LookupPrivilegeValue, BackupAndRestoreHaveTheirWindowsNumbers) {
    const LUID backup = LookUp(nullptr, SE_BACKUP_NAME);
    EXPECT_EQ(17u, backup.LowPart);
    EXPECT_EQ(0, backup.HighPart);
    const LUID restore = LookUp("", SE_RESTORE_NAME);
    EXPECT_EQ(18u, restore.LowPart);
    EXPECT_EQ(0, restore.HighPart);
}

TEST(LookupPrivilegeValue, NamesCompareWithoutCase) {
    EXPECT_EQ(17u, LookUp(nullptr, "sebackupprivilege").LowPart);
    EXPECT_EQ(18u, LookUp(nullptr, "SERESTOREPRIVILEGE").LowPart);
}

TEST(LookupPrivilegeValue, UnknownOrPartialNameIsNoSuchPrivilege) {
    for (LPCSTR name : {"SeShutdownPrivilege", "SeBackup", "SeBackupPrivilegeX", ""}) {
        LUID luid{123, 4};
        EXPECT_FALSE(LookupPrivilegeValueA(nullptr, name, &luid)) << name;
        EXPECT_EQ(static_cast<DWORD>(ERROR_NO_SUCH_PRIVILEGE), GetLastError()) << name;
        EXPECT_EQ(123u, luid.LowPart) << name;
    }
}

TEST(LookupPrivilegeValue, RemoteSystemOrMissingArgumentsAreInvalid) {
    LUID luid{};
    EXPECT_FALSE(LookupPrivilegeValueA("\\\\elsewhere", SE_BACKUP_NAME, &luid));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_FALSE(LookupPrivilegeValueA(nullptr, nullptr, &luid));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_FALSE(LookupPrivilegeValueA(nullptr, SE_BACKUP_NAME, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

}  // namespace
