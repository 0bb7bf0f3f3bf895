#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/security/credentials.h"
#include "platform/security/privileges.h"
#include "platform/win32.h"
#include "token_test_support.h"

namespace {

using zov::Credentials;
using zov::ScopedProcessCredentials;
using zov::testing::ProcessTokenListsAdministrators;
using zov::testing::RunInChildAs;

// Enables one privilege on a freshly opened process token, as the utility does before a save.
DWORD EnableOnProcessToken(LPCSTR privilege_name) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) {
        return GetLastError();
    }
    TOKEN_PRIVILEGES wanted{};
    wanted.PrivilegeCount = 1;
    LookupPrivilegeValueA(nullptr, privilege_name, &wanted.Privileges[0].Luid);
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr);
    const DWORD status = GetLastError();
    CloseHandle(token);
    return status;
}

TEST(AdministratorFromCredentials, GroupZeroAsEffectiveGroupMakesAnAdministrator) {
    ScopedProcessCredentials scope(Credentials{1000, 0, {}});
    EXPECT_TRUE(ProcessTokenListsAdministrators());
}

TEST(AdministratorFromCredentials, GroupZeroAsSupplementaryGroupMakesAnAdministrator) {
    ScopedProcessCredentials scope(Credentials{1000, 1000, {4, 0}});
    EXPECT_TRUE(ProcessTokenListsAdministrators());
}

TEST(AdministratorFromCredentials, UserZeroWithoutGroupZeroIsNoAdministrator) {
    ScopedProcessCredentials scope(Credentials{0, 1000, {4, 27}});
    EXPECT_FALSE(ProcessTokenListsAdministrators());
}

TEST(AdministratorFromCredentials, AdministratorCanEnableBackupAndRestore) {
    ScopedProcessCredentials scope(Credentials{1000, 0, {}});
    EXPECT_FALSE(zov::IsPrivilegeEnabled(zov::Privilege::Backup));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), EnableOnProcessToken(SE_BACKUP_NAME));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), EnableOnProcessToken(SE_RESTORE_NAME));
    EXPECT_TRUE(zov::IsPrivilegeEnabled(zov::Privilege::Backup));
    EXPECT_TRUE(zov::IsPrivilegeEnabled(zov::Privilege::Restore));
}

TEST(AdministratorFromCredentials, NonAdministratorCannotEnableBackup) {
    ScopedProcessCredentials scope(Credentials{1000, 1000, {}});
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ALL_ASSIGNED), EnableOnProcessToken(SE_BACKUP_NAME));
    EXPECT_FALSE(zov::IsPrivilegeEnabled(zov::Privilege::Backup));
}

TEST(ScopedProcessCredentialsLifetime, ScopeStartsDisabledAndRestoresTheOuterState) {
    ScopedProcessCredentials outer(Credentials{1000, 0, {}});
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), EnableOnProcessToken(SE_BACKUP_NAME));
    {
        ScopedProcessCredentials inner(Credentials{1000, 0, {}});
        EXPECT_FALSE(zov::IsPrivilegeEnabled(zov::Privilege::Backup));
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), EnableOnProcessToken(SE_RESTORE_NAME));
        EXPECT_TRUE(zov::IsPrivilegeEnabled(zov::Privilege::Restore));
    }
    EXPECT_TRUE(zov::IsPrivilegeEnabled(zov::Privilege::Backup));
    EXPECT_FALSE(zov::IsPrivilegeEnabled(zov::Privilege::Restore));
}

TEST(ScopedProcessCredentialsLifetime, NonAdministratorScopeHidesAnEnabledOuterPrivilege) {
    ScopedProcessCredentials outer(Credentials{1000, 0, {}});
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), EnableOnProcessToken(SE_BACKUP_NAME));
    {
        ScopedProcessCredentials inner(Credentials{1000, 1000, {}});
        EXPECT_FALSE(ProcessTokenListsAdministrators());
        EXPECT_FALSE(zov::IsPrivilegeEnabled(zov::Privilege::Backup));
    }
    EXPECT_TRUE(ProcessTokenListsAdministrators());
}

TEST(ScopedProcessCredentialsLifetime, OwnCredentialsOfTheProcessAreNotChanged) {
    const Credentials before = Credentials::OfProcess();
    { ScopedProcessCredentials scope(Credentials{12345, 54321, {777}}); }
    EXPECT_EQ(before.uid, geteuid());
    EXPECT_EQ(before.gid, getegid());
}

// The real process, with real credentials: root's group 0 in CI, and "nobody" in a child.
class RealProcessToken : public ::testing::Test {
  protected:
    void SetUp() override {
        if (geteuid() != 0) {
            GTEST_SKIP() << "needs root to switch users";
        }
        if (!zov::testing::LookUpNobody(nobody_)) {
            GTEST_SKIP() << "no user nobody on this system";
        }
    }
    zov::testing::UserIds nobody_{};
};

TEST_F(RealProcessToken, RootWithGroupZeroIsAnAdministratorAndHoldsBackup) {
    const int status = RunInChildAs(0, 0, [] {
        if (!ProcessTokenListsAdministrators()) {
            return 1;
        }
        if (EnableOnProcessToken(SE_BACKUP_NAME) != ERROR_SUCCESS) {
            return 2;
        }
        return zov::IsPrivilegeEnabled(zov::Privilege::Backup) ? 0 : 3;
    });
    EXPECT_EQ(0, status);
}

TEST_F(RealProcessToken, NobodyIsNoAdministratorAndHoldsNoPrivilege) {
    const int status = RunInChildAs(nobody_.uid, nobody_.gid, [] {
        if (ProcessTokenListsAdministrators()) {
            return 1;
        }
        if (EnableOnProcessToken(SE_RESTORE_NAME) != ERROR_NOT_ALL_ASSIGNED) {
            return 2;
        }
        return zov::IsPrivilegeEnabled(zov::Privilege::Restore) ? 3 : 0;
    });
    EXPECT_EQ(0, status);
}

TEST_F(RealProcessToken, PrivilegeEnabledAsRootIsGoneAfterDroppingToNobody) {
    const int status = RunInChildAs(0, 0, [this] {
        if (EnableOnProcessToken(SE_BACKUP_NAME) != ERROR_SUCCESS ||
            !zov::IsPrivilegeEnabled(zov::Privilege::Backup)) {
            return 1;
        }
        if (setgid(nobody_.gid) != 0 || setuid(nobody_.uid) != 0) {
            return 100;
        }
        return zov::IsPrivilegeEnabled(zov::Privilege::Backup) ? 2 : 0;
    });
    EXPECT_EQ(0, status);
}

}  // namespace
