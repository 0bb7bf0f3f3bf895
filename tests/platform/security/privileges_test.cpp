// Who counts as an administrator, and what an administrator's token can switch:
// AdjustTokenPrivileges and LookupPrivilegeValueA, from given credentials and for real users.
#include <grp.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "platform/security/credentials.h"
#include "platform/security/privileges.h"
#include "platform/win32.h"
#include "registry_test_support.h"
#include "token_test_support.h"

namespace {

using zov::Credentials;
using zov::IsPrivilegeEnabled;
using zov::Privilege;
using zov::ScopedProcessCredentials;
using namespace zov::testing;

const Credentials kAdministrator{1000, 0, {}};

// Whether the process token's groups list the Administrators SID, as the utility asks.
bool ProcessTokenListsAdministrators() {
    const std::vector<std::vector<BYTE>> sids = GroupSidsOf(OpenOwnProcessToken(TOKEN_READ).get());
    return std::ranges::find(sids, AdministratorsSidBytes()) != sids.end();
}

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

// Group 0 makes an administrator, who holds backup and restore, off until enabled; anyone else
// holds neither, and may still disable all.
TEST(AdministratorFromCredentials, GroupZeroMakesAnAdministratorWhoCanEnableBackupAndRestore) {
    const struct {
        Credentials credentials;
        bool administrator;
    } kCases[] = {{{1000, 0, {}}, true},
                  {{1000, 1000, {4, 0}}, true},
                  {{0, 1000, {4, 27}}, false},  // user 0 alone is no administrator
                  {{1000, 1000, {100}}, false}};
    for (const auto& row : kCases) {
        ScopedProcessCredentials scope(row.credentials);
        const TokenHandle token = OpenOwnProcessToken(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY);
        const DWORD expected = row.administrator ? ERROR_SUCCESS : ERROR_NOT_ALL_ASSIGNED;
        SCOPED_TRACE(&row - kCases);  // the row number
        EXPECT_EQ(row.administrator, ProcessTokenListsAdministrators());
        EXPECT_EQ(row.administrator ? 0 : -1, ReportedAttributes(token.get(), SE_BACKUP_NAME));
        EXPECT_EQ(expected, Adjust(SE_BACKUP_NAME));
        EXPECT_EQ(expected, Adjust(SE_RESTORE_NAME));
        EXPECT_EQ(row.administrator, IsPrivilegeEnabled(Privilege::Backup));
        EXPECT_EQ(row.administrator, IsPrivilegeEnabled(Privilege::Restore));
        EXPECT_TRUE(AdjustTokenPrivileges(token.get(), TRUE, nullptr, 0, nullptr, nullptr));
        EXPECT_EQ(0U, GetLastError());
        EXPECT_FALSE(IsPrivilegeEnabled(Privilege::Restore));
    }
}

TEST(ScopedProcessCredentialsLifetime, InnerScopeHidesTheOuterStateWhichComesBackAfterIt) {
    const Credentials before = Credentials::OfProcess();
    {
        ScopedProcessCredentials outer(Credentials{1000, 0, {}});
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), Adjust(SE_BACKUP_NAME));
        {
            ScopedProcessCredentials inner(Credentials{1000, 1000, {}});
            EXPECT_FALSE(ProcessTokenListsAdministrators());
            EXPECT_FALSE(IsPrivilegeEnabled(Privilege::Backup));
        }
        EXPECT_TRUE(ProcessTokenListsAdministrators());
        EXPECT_TRUE(IsPrivilegeEnabled(Privilege::Backup));
    }
    EXPECT_EQ(before.uid, geteuid()) << "the process's own credentials must not change";
    EXPECT_EQ(before.gid, getegid());
}

// The real process with real credentials, in a child: root with group 0 is an administrator, and
// drops its enabled privilege with its user; nobody is no administrator.
TEST(RealProcessToken, RootIsAnAdministratorNobodyIsNotAndDroppingLosesThePrivilege) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to switch users";
    }
    EXPECT_EQ(
        0, zov::test::RunInChild([] {
            if (setgroups(0, nullptr) != 0 || setgid(0) != 0 ||
                !ProcessTokenListsAdministrators() || Adjust(SE_BACKUP_NAME) != ERROR_SUCCESS ||
                !IsPrivilegeEnabled(Privilege::Backup)) {
                return 1;
            }
            if (!zov::test::BecomeNobody()) {
                return 100;
            }
            return IsPrivilegeEnabled(Privilege::Backup) || ProcessTokenListsAdministrators() ||
                           Adjust(SE_RESTORE_NAME) != ERROR_NOT_ALL_ASSIGNED
                       ? 2
                       : 0;
        }));
}

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
    const TokenHandle own = TokenFor(kAdministrator);
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
