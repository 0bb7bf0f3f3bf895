// AdjustTokenPrivileges and LookupPrivilegeValueA: what an administrator's token can switch.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "platform/security/credentials.h"
#include "platform/security/privileges.h"
#include "platform/win32.h"
#include "token_test_support.h"

namespace {

using zov::Credentials;
using zov::IsPrivilegeEnabled;
using zov::Privilege;
using zov::ScopedProcessCredentials;
using zov::testing::Adjust;
using zov::testing::LuidOf;
using zov::testing::OpenOwnProcessToken;
using zov::testing::TokenHandle;

const Credentials kAdministrator{1000, 0, {}};

// TOKEN_PRIVILEGES with two entries: the first LUID given (backup by default) and restore.
struct TwoPrivileges {
    DWORD PrivilegeCount = 2;
    LUID_AND_ATTRIBUTES Privileges[2];
    TOKEN_PRIVILEGES* get() { return reinterpret_cast<TOKEN_PRIVILEGES*>(this); }
};

TwoPrivileges BothEnabled(LUID first = LuidOf(SE_BACKUP_NAME)) {
    return {2, {{first, SE_PRIVILEGE_ENABLED}, {LuidOf(SE_RESTORE_NAME), SE_PRIVILEGE_ENABLED}}};
}

// The attributes the token reports for a privilege, or -1 when it does not list it.
int64_t ReportedAttributes(HANDLE token, LPCSTR name) {
    std::vector<std::uint64_t> storage(16);
    DWORD length = 0;
    EXPECT_TRUE(GetTokenInformation(token, TokenPrivileges, storage.data(), 128, &length));
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(storage.data());
    for (DWORD index = 0; index < privileges->PrivilegeCount; ++index) {
        if (privileges->Privileges[index].Luid.LowPart == LuidOf(name).LowPart) {
            return privileges->Privileges[index].Attributes;
        }
    }
    return -1;
}

class AdjustTokenPrivilegesTest : public ::testing::Test {
  protected:
    ScopedProcessCredentials administrator_{kAdministrator};
    TokenHandle token_ = OpenOwnProcessToken(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY);
};

TEST_F(AdjustTokenPrivilegesTest, EnableAndDisableActOnOnePrivilegeForTheWholeProcess) {
    SetLastError(ERROR_INVALID_FUNCTION);
    EXPECT_EQ(0U, Adjust(SE_BACKUP_NAME, SE_PRIVILEGE_ENABLED, token_.get()));
    EXPECT_FALSE(IsPrivilegeEnabled(Privilege::Restore));
    const TokenHandle another = OpenOwnProcessToken(TOKEN_QUERY);
    EXPECT_EQ(SE_PRIVILEGE_ENABLED, ReportedAttributes(another.get(), SE_BACKUP_NAME));
    EXPECT_EQ(0, ReportedAttributes(another.get(), SE_RESTORE_NAME));
    EXPECT_EQ(0U, Adjust(SE_RESTORE_NAME, SE_PRIVILEGE_ENABLED, token_.get()));
    EXPECT_EQ(0U, Adjust(SE_BACKUP_NAME, 0, token_.get()));
    EXPECT_FALSE(IsPrivilegeEnabled(Privilege::Backup));
    EXPECT_TRUE(IsPrivilegeEnabled(Privilege::Restore));
    // A token made from credentials keeps its own state, apart from the process's.
    const TokenHandle own = zov::testing::TokenFor(kAdministrator);
    EXPECT_EQ(0U, Adjust(SE_BACKUP_NAME, SE_PRIVILEGE_ENABLED, own.get()));
    EXPECT_FALSE(IsPrivilegeEnabled(Privilege::Backup));
}

TEST_F(AdjustTokenPrivilegesTest, DisableAllIgnoresNewStateAndAnUnknownLuidIsNotAssigned) {
    TwoPrivileges both = BothEnabled();
    for (TOKEN_PRIVILEGES* ignored : {both.get(), static_cast<TOKEN_PRIVILEGES*>(nullptr)}) {
        ASSERT_TRUE(AdjustTokenPrivileges(token_.get(), FALSE, both.get(), 0, nullptr, nullptr));
        ASSERT_TRUE(IsPrivilegeEnabled(Privilege::Backup));
        EXPECT_TRUE(AdjustTokenPrivileges(token_.get(), TRUE, ignored, 0, nullptr, nullptr));
        EXPECT_EQ(0U, GetLastError());
        EXPECT_FALSE(IsPrivilegeEnabled(Privilege::Backup) ||
                     IsPrivilegeEnabled(Privilege::Restore));
    }
    TwoPrivileges mixed = BothEnabled(LUID{999, 0});
    EXPECT_TRUE(AdjustTokenPrivileges(token_.get(), FALSE, mixed.get(), 0, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ALL_ASSIGNED), GetLastError());
    EXPECT_TRUE(IsPrivilegeEnabled(Privilege::Restore));
}

TEST(AdjustTokenPrivilegesOrdinaryUser, HoldsNoPrivilegeAndCanStillDisableAll) {
    ScopedProcessCredentials user(Credentials{1000, 1000, {100}});
    const TokenHandle token = OpenOwnProcessToken(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY);
    EXPECT_EQ(-1, ReportedAttributes(token.get(), SE_BACKUP_NAME));
    EXPECT_TRUE(AdjustTokenPrivileges(token.get(), TRUE, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(0U, GetLastError());
}

TEST(LookupPrivilegeValue, KnownNamesInAnyCaseGiveTheWindowsNumbersOthersFail) {
    const struct {
        LPCSTR system;
        LPCSTR name;
        DWORD low_part;  // 0: refused with error
        DWORD error;
    } kCases[] = {{nullptr, "sebackupprivilege", 17, 0},
                  {"", SE_RESTORE_NAME, 18, 0},
                  {nullptr, "SeShutdownPrivilege", 0, ERROR_NO_SUCH_PRIVILEGE},
                  {nullptr, "SeBackup", 0, ERROR_NO_SUCH_PRIVILEGE},
                  {nullptr, "SeBackupPrivilegeX", 0, ERROR_NO_SUCH_PRIVILEGE},
                  {"\\\\elsewhere", SE_BACKUP_NAME, 0, ERROR_INVALID_PARAMETER},
                  {nullptr, nullptr, 0, ERROR_INVALID_PARAMETER}};
    for (const auto& row : kCases) {
        LUID luid{123, 4};
        SCOPED_TRACE(row.name == nullptr ? "(null)" : row.name);
        EXPECT_EQ(row.low_part != 0, LookupPrivilegeValueA(row.system, row.name, &luid) != FALSE);
        EXPECT_EQ(row.low_part != 0 ? row.low_part : 123U, luid.LowPart);
        EXPECT_EQ(row.low_part != 0 ? 0 : 4, luid.HighPart);
        if (row.low_part == 0) {
            EXPECT_EQ(row.error, GetLastError());
        }
    }
    EXPECT_FALSE(LookupPrivilegeValueA(nullptr, SE_BACKUP_NAME, nullptr));
}

}  // namespace
