// Who the utility takes for an administrator, from given credentials and for real users.
#include <pwd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/security/credentials.h"
#include "platform/security/privileges.h"
#include "platform/win32.h"
#include "token_test_support.h"

namespace {

using zov::Credentials;
using zov::Privilege;
using zov::ScopedProcessCredentials;
using zov::testing::Adjust;
using zov::testing::ProcessTokenListsAdministrators;
using zov::testing::RunInChildAs;

TEST(AdministratorFromCredentials, GroupZeroMakesAnAdministratorWhoCanEnableBackupAndRestore) {
    const struct {
        Credentials credentials;
        bool administrator;
    } kCases[] = {{{1000, 0, {}}, true},
                  {{1000, 1000, {4, 0}}, true},
                  {{0, 1000, {4, 27}}, false},  // user 0 alone is no administrator
                  {{1000, 1000, {}}, false}};
    for (const auto& row : kCases) {
        ScopedProcessCredentials scope(row.credentials);
        const DWORD expected = row.administrator ? ERROR_SUCCESS : ERROR_NOT_ALL_ASSIGNED;
        SCOPED_TRACE(&row - kCases);  // the row number
        EXPECT_EQ(row.administrator, ProcessTokenListsAdministrators());
        EXPECT_FALSE(zov::IsPrivilegeEnabled(Privilege::Backup));
        EXPECT_EQ(expected, Adjust(SE_BACKUP_NAME));
        EXPECT_EQ(expected, Adjust(SE_RESTORE_NAME));
        EXPECT_EQ(row.administrator, zov::IsPrivilegeEnabled(Privilege::Backup));
        EXPECT_EQ(row.administrator, zov::IsPrivilegeEnabled(Privilege::Restore));
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
            EXPECT_FALSE(zov::IsPrivilegeEnabled(Privilege::Backup));
        }
        EXPECT_TRUE(ProcessTokenListsAdministrators());
        EXPECT_TRUE(zov::IsPrivilegeEnabled(Privilege::Backup));
    }
    EXPECT_EQ(before.uid, geteuid()) << "the process's own credentials must not change";
    EXPECT_EQ(before.gid, getegid());
}

// The real process with real credentials: root with group 0, and "nobody", in children.
TEST(RealProcessToken, RootIsAnAdministratorNobodyIsNotAndDroppingLosesThePrivilege) {
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0 || nobody == nullptr) {
        GTEST_SKIP() << "needs root and a user nobody to switch users";
    }
    EXPECT_EQ(0, RunInChildAs(0, 0, [&] {
                  if (!ProcessTokenListsAdministrators() ||
                      Adjust(SE_BACKUP_NAME) != ERROR_SUCCESS ||
                      !zov::IsPrivilegeEnabled(Privilege::Backup)) {
                      return 1;
                  }
                  if (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) {
                      return 100;
                  }
                  return zov::IsPrivilegeEnabled(Privilege::Backup) ? 2 : 0;
              }));
    EXPECT_EQ(0, RunInChildAs(nobody->pw_uid, nobody->pw_gid, [] {
                  return ProcessTokenListsAdministrators() ||
                         Adjust(SE_RESTORE_NAME) != ERROR_NOT_ALL_ASSIGNED ||
                         zov::IsPrivilegeEnabled(Privilege::Restore);
              }));
}

}  // namespace
