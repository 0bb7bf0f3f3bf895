#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "platform/security/credentials.h"
#include "platform/security/privileges.h"
#include "platform/win32.h"

namespace {

using zov::Credentials;
using zov::Privilege;
using zov::ScopedProcessCredentials;

const Credentials kAdministrator{1000, 0, {}};
const Credentials kOrdinaryUser{1000, 1000, {100}};

LUID LuidOf(LPCSTR name) {
    LUID luid{};
    EXPECT_TRUE(LookupPrivilegeValueA(nullptr, name, &luid));
    return luid;
}

TOKEN_PRIVILEGES One(LPCSTR name, DWORD attributes) {
    TOKEN_PRIVILEGES state{};
    state.PrivilegeCount = 1;
    state.Privileges[0] = {LuidOf(name), attributes};
    return state;
}

// TOKEN_PRIVILEGES with room for two entries.
struct TwoPrivileges {
    DWORD PrivilegeCount;
    LUID_AND_ATTRIBUTES Privileges[2];
};

TOKEN_PRIVILEGES* AsTokenPrivileges(TwoPrivileges& two) {
    return reinterpret_cast<TOKEN_PRIVILEGES*>(&two);
}

// The attributes the token reports for a privilege, or -1 when it does not list it.
int64_t ReportedAttributes(HANDLE token, LPCSTR name) {
    std::vector<std::uint64_t> storage(16);
    DWORD length = 0;
    if (!GetTokenInformation(token, TokenPrivileges, storage.data(), 128, &length)) {
        return -2;
    }
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(storage.data());
    const LUID wanted = LuidOf(name);
    for (DWORD index = 0; index < privileges->PrivilegeCount; ++index) {
        if (privileges->Privileges[index].Luid.LowPart == wanted.LowPart) {
            return privileges->Privileges[index].Attributes;
        }
    }
    return -1;
}

class ProcessToken {
  public:
    explicit ProcessToken(DWORD access) {
        EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), access, &handle_));
    }
    ~ProcessToken() { CloseHandle(handle_); }
    ProcessToken(const ProcessToken&) = delete;
    ProcessToken& operator=(const ProcessToken&) = delete;
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_ = nullptr;
};

class AdjustTokenPrivilegesTest : public ::testing::Test {
  protected:
    ScopedProcessCredentials administrator_{kAdministrator};
};

TEST_F(AdjustTokenPrivilegesTest, EnableTurnsThePrivilegeOnForTheWholeProcess) {
    ProcessToken adjusting(TOKEN_ADJUST_PRIVILEGES);
    TOKEN_PRIVILEGES enable = One(SE_BACKUP_NAME, SE_PRIVILEGE_ENABLED);
    SetLastError(ERROR_INVALID_FUNCTION);
    EXPECT_TRUE(AdjustTokenPrivileges(adjusting.get(), FALSE, &enable, 0, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());

    EXPECT_TRUE(zov::IsPrivilegeEnabled(Privilege::Backup));
    EXPECT_FALSE(zov::IsPrivilegeEnabled(Privilege::Restore));
    ProcessToken another(TOKEN_QUERY);
    EXPECT_EQ(SE_PRIVILEGE_ENABLED, ReportedAttributes(another.get(), SE_BACKUP_NAME));
    EXPECT_EQ(0, ReportedAttributes(another.get(), SE_RESTORE_NAME));
}

TEST_F(AdjustTokenPrivilegesTest, ZeroAttributesDisableOnlyThatPrivilege) {
    ProcessToken token(TOKEN_ADJUST_PRIVILEGES);
    TOKEN_PRIVILEGES enable_backup = One(SE_BACKUP_NAME, SE_PRIVILEGE_ENABLED);
    TOKEN_PRIVILEGES enable_restore = One(SE_RESTORE_NAME, SE_PRIVILEGE_ENABLED);
    TOKEN_PRIVILEGES disable_backup = One(SE_BACKUP_NAME, 0);
    ASSERT_TRUE(AdjustTokenPrivileges(token.get(), FALSE, &enable_backup, 0, nullptr, nullptr));
    ASSERT_TRUE(AdjustTokenPrivileges(token.get(), FALSE, &enable_restore, 0, nullptr, nullptr));
    ASSERT_TRUE(AdjustTokenPrivileges(token.get(), FALSE, &disable_backup, 0, nullptr, nullptr));
    EXPECT_FALSE(zov::IsPrivilegeEnabled(Privilege::Backup));
    EXPECT_TRUE(zov::IsPrivilegeEnabled(Privilege::Restore));
}

TEST_F(AdjustTokenPrivilegesTest, DisableAllTurnsBothOffAndIgnoresNewState) {
    ProcessToken token(TOKEN_ADJUST_PRIVILEGES);
    TwoPrivileges both{2,
                       {{LuidOf(SE_BACKUP_NAME), SE_PRIVILEGE_ENABLED},
                        {LuidOf(SE_RESTORE_NAME), SE_PRIVILEGE_ENABLED}}};
    ASSERT_TRUE(
        AdjustTokenPrivileges(token.get(), FALSE, AsTokenPrivileges(both), 0, nullptr, nullptr));
    ASSERT_TRUE(zov::IsPrivilegeEnabled(Privilege::Backup));
    ASSERT_TRUE(zov::IsPrivilegeEnabled(Privilege::Restore));

    EXPECT_TRUE(
        AdjustTokenPrivileges(token.get(), TRUE, AsTokenPrivileges(both), 0, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
    EXPECT_FALSE(zov::IsPrivilegeEnabled(Privilege::Backup));
    EXPECT_FALSE(zov::IsPrivilegeEnabled(Privilege::Restore));

    ASSERT_TRUE(
        AdjustTokenPrivileges(token.get(), FALSE, AsTokenPrivileges(both), 0, nullptr, nullptr));
    EXPECT_TRUE(AdjustTokenPrivileges(token.get(), TRUE, nullptr, 0, nullptr, nullptr));
    EXPECT_FALSE(zov::IsPrivilegeEnabled(Privilege::Backup));
    EXPECT_FALSE(zov::IsPrivilegeEnabled(Privilege::Restore));
}

TEST_F(AdjustTokenPrivilegesTest, UnknownLuidIsNotAssignedButTheOthersAre) {
    ProcessToken token(TOKEN_ADJUST_PRIVILEGES);
    TwoPrivileges mixed{
        2, {{LUID{999, 0}, SE_PRIVILEGE_ENABLED}, {LuidOf(SE_RESTORE_NAME), SE_PRIVILEGE_ENABLED}}};
    EXPECT_TRUE(
        AdjustTokenPrivileges(token.get(), FALSE, AsTokenPrivileges(mixed), 0, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ALL_ASSIGNED), GetLastError());
    EXPECT_TRUE(zov::IsPrivilegeEnabled(Privilege::Restore));
}

TEST_F(AdjustTokenPrivilegesTest, PreviousStateListsWhatChangedWithItsFormerAttributes) {
    ProcessToken token(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY);
    TOKEN_PRIVILEGES enable_backup = One(SE_BACKUP_NAME, SE_PRIVILEGE_ENABLED);
    ASSERT_TRUE(AdjustTokenPrivileges(token.get(), FALSE, &enable_backup, 0, nullptr, nullptr));

    TwoPrivileges previous{};
    DWORD length = 0;
    EXPECT_TRUE(AdjustTokenPrivileges(token.get(), TRUE, nullptr, sizeof(previous),
                                      AsTokenPrivileges(previous), &length));
    EXPECT_EQ(offsetof(TOKEN_PRIVILEGES, Privileges) + sizeof(LUID_AND_ATTRIBUTES), length);
    ASSERT_EQ(1u, previous.PrivilegeCount);
    EXPECT_EQ(17u, previous.Privileges[0].Luid.LowPart);
    EXPECT_EQ(static_cast<DWORD>(SE_PRIVILEGE_ENABLED), previous.Privileges[0].Attributes);

    // Putting the previous state back restores what was there.
    EXPECT_TRUE(AdjustTokenPrivileges(token.get(), FALSE, AsTokenPrivileges(previous), 0, nullptr,
                                      nullptr));
    EXPECT_TRUE(zov::IsPrivilegeEnabled(Privilege::Backup));
}

TEST_F(AdjustTokenPrivilegesTest, PreviousStateTooSmallChangesNothing) {
    ProcessToken token(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY);
    TwoPrivileges both{2,
                       {{LuidOf(SE_BACKUP_NAME), SE_PRIVILEGE_ENABLED},
                        {LuidOf(SE_RESTORE_NAME), SE_PRIVILEGE_ENABLED}}};
    TOKEN_PRIVILEGES previous{};
    DWORD length = 0;
    EXPECT_FALSE(AdjustTokenPrivileges(token.get(), FALSE, AsTokenPrivileges(both),
                                       sizeof(previous), &previous, &length));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(offsetof(TOKEN_PRIVILEGES, Privileges) + 2 * sizeof(LUID_AND_ATTRIBUTES), length);
    EXPECT_FALSE(zov::IsPrivilegeEnabled(Privilege::Backup));
    EXPECT_FALSE(zov::IsPrivilegeEnabled(Privilege::Restore));
}

TEST_F(AdjustTokenPrivilegesTest, AdjustingNeedsTheAdjustRightAndPreviousStateNeedsQuery) {
    TOKEN_PRIVILEGES enable = One(SE_BACKUP_NAME, SE_PRIVILEGE_ENABLED);
    {
        ProcessToken read_only(TOKEN_READ);
        EXPECT_FALSE(AdjustTokenPrivileges(read_only.get(), FALSE, &enable, 0, nullptr, nullptr));
        EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    }
    {
        ProcessToken adjust_only(TOKEN_ADJUST_PRIVILEGES);
        TOKEN_PRIVILEGES previous{};
        DWORD length = 0;
        EXPECT_FALSE(AdjustTokenPrivileges(adjust_only.get(), FALSE, &enable, sizeof(previous),
                                           &previous, &length));
        EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    }
    EXPECT_FALSE(zov::IsPrivilegeEnabled(Privilege::Backup));
}

TEST_F(AdjustTokenPrivilegesTest, MissingNewStateOrReturnLengthIsInvalid) {
    ProcessToken token(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY);
    EXPECT_FALSE(AdjustTokenPrivileges(token.get(), FALSE, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    TOKEN_PRIVILEGES enable = One(SE_BACKUP_NAME, SE_PRIVILEGE_ENABLED);
    TOKEN_PRIVILEGES previous{};
    EXPECT_FALSE(
        AdjustTokenPrivileges(token.get(), FALSE, &enable, sizeof(previous), &previous, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST_F(AdjustTokenPrivilegesTest, RemovedPrivilegeCanNoLongerBeEnabled) {
    ProcessToken token(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY);
    TOKEN_PRIVILEGES remove = One(SE_RESTORE_NAME, SE_PRIVILEGE_REMOVED);
    TOKEN_PRIVILEGES enable = One(SE_RESTORE_NAME, SE_PRIVILEGE_ENABLED);
    EXPECT_TRUE(AdjustTokenPrivileges(token.get(), FALSE, &remove, 0, nullptr, nullptr));
    EXPECT_EQ(-1, ReportedAttributes(token.get(), SE_RESTORE_NAME));
    EXPECT_TRUE(AdjustTokenPrivileges(token.get(), FALSE, &enable, 0, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ALL_ASSIGNED), GetLastError());
    EXPECT_FALSE(zov::IsPrivilegeEnabled(Privilege::Restore));
}

TEST(AdjustTokenPrivilegesOrdinaryUser, EnablingAPrivilegeNotHeldIsNotAllAssigned) {
    ScopedProcessCredentials user(kOrdinaryUser);
    ProcessToken token(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY);
    EXPECT_EQ(-1, ReportedAttributes(token.get(), SE_BACKUP_NAME));
    TOKEN_PRIVILEGES enable = One(SE_BACKUP_NAME, SE_PRIVILEGE_ENABLED);
    EXPECT_TRUE(AdjustTokenPrivileges(token.get(), FALSE, &enable, 0, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ALL_ASSIGNED), GetLastError());
    EXPECT_FALSE(zov::IsPrivilegeEnabled(Privilege::Backup));

    EXPECT_TRUE(AdjustTokenPrivileges(token.get(), TRUE, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
}

TEST(AdjustTokenPrivilegesCredentialToken, TokenFromCredentialsKeepsItsOwnState) {
    ScopedProcessCredentials administrator(kAdministrator);
    HANDLE token = zov::OpenTokenForCredentials(kAdministrator);
    ASSERT_NE(nullptr, token);
    TOKEN_PRIVILEGES enable = One(SE_BACKUP_NAME, SE_PRIVILEGE_ENABLED);
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &enable, 0, nullptr, nullptr));
    EXPECT_EQ(SE_PRIVILEGE_ENABLED, ReportedAttributes(token, SE_BACKUP_NAME));
    EXPECT_FALSE(zov::IsPrivilegeEnabled(Privilege::Backup));
    CloseHandle(token);
}

}  // namespace
