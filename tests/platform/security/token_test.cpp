// The emulated access token. SIDs: AllocateAndInitializeSid, EqualSid, IsValidSid, GetLengthSid
// and FreeSid. Token handles: closing, garbage values and the rights each handle was opened with;
// TokenGroups as the utility reads it: layout inside the caller's buffer and the size protocol.
// Who counts as an administrator, and what an administrator's token can switch:
// AdjustTokenPrivileges and LookupPrivilegeValueA, from given credentials and for real users.
// SID bytes are built here independently of the code under test.
#include <grp.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "platform/security/credentials.h"
#include "platform/security/privileges.h"
#include "platform/win32.h"
#include "registry_test_support.h"

namespace {

using zov::Credentials;
using zov::IsPrivilegeEnabled;
using zov::Privilege;
using zov::ScopedProcessCredentials;

const Credentials kAdministrator{1000, 0, {}};

struct TokenCloser {
    void operator()(HANDLE token) const { CloseHandle(token); }
};
// A token handle closed when it goes out of scope.
using TokenHandle = std::unique_ptr<void, TokenCloser>;

// The process token opened with the given rights; null when the open fails.
TokenHandle OpenOwnProcessToken(DWORD access) {
    HANDLE token = nullptr;
    return TokenHandle(OpenProcessToken(GetCurrentProcess(), access, &token) ? token : nullptr);
}

// A token standing for the credentials, independent of the process.
TokenHandle TokenFor(const Credentials& credentials, DWORD access = TOKEN_ALL_ACCESS) {
    return TokenHandle(OpenTokenForCredentials(credentials, access));
}

// The bytes of a SID, copied out of wherever it lives.
std::vector<BYTE> SidBytes(PSID sid) {
    const auto* bytes = static_cast<const BYTE*>(sid);
    const std::size_t length = 8 + 4 * static_cast<std::size_t>(bytes[1]);
    return std::vector<BYTE>(bytes, bytes + length);
}

// The bytes of S-1-<authority>-<sub authorities...>.
std::vector<BYTE> SidBytesOf(BYTE authority, const std::vector<DWORD>& sub_authorities) {
    std::vector<BYTE> bytes = {1,        static_cast<BYTE>(sub_authorities.size()), 0, 0, 0, 0, 0,
                               authority};
    for (DWORD sub_authority : sub_authorities) {
        // Sub-authorities are stored little-endian, as on Windows (and this x86/ARM host).
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<BYTE>(sub_authority >> shift));
        }
    }
    return bytes;
}

// The bytes of S-1-5-32-544.
std::vector<BYTE> AdministratorsSidBytes() {
    return SidBytesOf(5, {32, 544});
}

// The group SIDs of a token in its order; empty when the query fails.
std::vector<std::vector<BYTE>> GroupSidsOf(HANDLE token) {
    DWORD size = 0;
    GetTokenInformation(token, TokenGroups, nullptr, 0, &size);
    std::vector<std::uint64_t> storage((size + 7) / 8);
    if (!GetTokenInformation(token, TokenGroups, storage.data(), size, &size)) {
        return {};
    }
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(storage.data());
    std::vector<std::vector<BYTE>> sids;
    for (DWORD index = 0; index < groups->GroupCount; ++index) {
        sids.push_back(SidBytes(groups->Groups[index].Sid));
    }
    return sids;
}

// Whether the process token's groups list the Administrators SID, as the utility asks.
bool ProcessTokenListsAdministrators() {
    const std::vector<std::vector<BYTE>> sids = GroupSidsOf(OpenOwnProcessToken(TOKEN_READ).get());
    return std::ranges::find(sids, AdministratorsSidBytes()) != sids.end();
}

// Asks for the size of the token's groups, into `needed` when given; the last error, which is
// ERROR_INSUFFICIENT_BUFFER when the size was given.
LSTATUS QueryGroupsStatus(HANDLE token, DWORD* needed = nullptr) {
    DWORD length = 0;
    EXPECT_FALSE(GetTokenInformation(token, TokenGroups, nullptr, 0, needed ? needed : &length));
    return static_cast<LSTATUS>(GetLastError());
}

LSTATUS DisableAllStatus(HANDLE token) {
    AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr);
    return static_cast<LSTATUS>(GetLastError());
}

LUID LuidOf(LPCSTR privilege_name) {
    LUID luid{};
    LookupPrivilegeValueA(nullptr, privilege_name, &luid);
    return luid;
}

// Sets one privilege's attributes through the token (by default a freshly opened process
// token); returns the last error, or ~0 when the call failed.
DWORD Adjust(LPCSTR privilege_name, DWORD attributes = SE_PRIVILEGE_ENABLED,
             HANDLE token = nullptr) {
    const TokenHandle own = OpenOwnProcessToken(TOKEN_ADJUST_PRIVILEGES);
    TOKEN_PRIVILEGES state{1, {{LuidOf(privilege_name), attributes}}};
    const BOOL adjusted = AdjustTokenPrivileges(token != nullptr ? token : own.get(), FALSE, &state,
                                                0, nullptr, nullptr);
    return adjusted ? GetLastError() : ~0U;
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

PSID Allocate(BYTE count) {
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    EXPECT_TRUE(AllocateAndInitializeSid(&authority, count, SECURITY_BUILTIN_DOMAIN_RID,
                                         DOMAIN_ALIAS_RID_ADMINS, 9, 10, 11, 12, 13, 14, &sid));
    return sid;
}

TEST(EqualSid, AdministratorsSidEqualsOnlyItselfAndIsFreedOnce) {
    PSID administrators = Allocate(2);
    EXPECT_EQ(16u, GetLengthSid(administrators));
    std::vector<BYTE> copy = AdministratorsSidBytes();
    EXPECT_EQ(copy, SidBytes(administrators));
    EXPECT_TRUE(EqualSid(administrators, copy.data()));
    for (std::vector<BYTE> other :
         {SidBytesOf(5, {32, 545}), SidBytesOf(1, {32, 544}), SidBytesOf(5, {32, 544, 1})}) {
        SetLastError(ERROR_INVALID_FUNCTION);
        EXPECT_FALSE(EqualSid(administrators, other.data()));
        EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
    }
    PSID shorter = Allocate(1);
    EXPECT_EQ(SidBytesOf(5, {32}), SidBytes(shorter)) << "only the requested sub-authorities";
    EXPECT_EQ(nullptr, FreeSid(shorter));
    EXPECT_EQ(shorter, FreeSid(shorter)) << "freeing twice must be refused";
    EXPECT_EQ(static_cast<PVOID>(copy.data()), FreeSid(copy.data())) << "not allocated here";
    FreeSid(administrators);
}

TEST(EqualSid, MalformedSidsAndMissingArgumentsAreInvalid) {
    PSID administrators = Allocate(2);
    std::vector<BYTE> bad_revision = AdministratorsSidBytes();
    bad_revision[0] = 2;
    std::vector<BYTE> too_many = AdministratorsSidBytes();
    too_many[1] = 16;
    EXPECT_FALSE(EqualSid(administrators, bad_revision.data()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_FALSE(EqualSid(too_many.data(), administrators));
    EXPECT_FALSE(EqualSid(administrators, nullptr));
    EXPECT_FALSE(IsValidSid(bad_revision.data()));
    EXPECT_EQ(0u, GetLengthSid(too_many.data()));
    FreeSid(administrators);
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    for (auto* from : {&authority, static_cast<SID_IDENTIFIER_AUTHORITY*>(nullptr)}) {
        EXPECT_FALSE(AllocateAndInitializeSid(from, from ? 9 : 1, 0, 0, 0, 0, 0, 0, 0, 0, &sid));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
        EXPECT_EQ(nullptr, sid);
    }
}

TEST(TokenHandles, ClosedAndGarbageHandlesAreRejectedAndOtherHandlesStayOpen) {
    HANDLE closed = nullptr;
    HANDLE second = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &closed));
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &second));
    EXPECT_TRUE(CloseHandle(closed));
    int not_a_handle = 0;
    // NOLINTNEXTLINE(performance-no-int-to-ptr): a made-up handle value is the point here.
    const auto made_up = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1234));
    for (HANDLE bad :
         {closed, static_cast<HANDLE>(nullptr), static_cast<HANDLE>(&not_a_handle), made_up}) {
        EXPECT_FALSE(CloseHandle(bad));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
        EXPECT_EQ(ERROR_INVALID_HANDLE, QueryGroupsStatus(bad));
        EXPECT_EQ(ERROR_INVALID_HANDLE, DisableAllStatus(bad));
        HANDLE token = nullptr;
        EXPECT_FALSE(OpenProcessToken(bad, TOKEN_READ, &token));
        EXPECT_EQ(nullptr, token);
    }
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, QueryGroupsStatus(second));
    EXPECT_TRUE(CloseHandle(second));
}

TEST(TokenAccess, EachRightAllowsOnlyItsOwnCalls) {
    const struct {
        DWORD access;
        LSTATUS query_status;
        LSTATUS adjust_status;
    } kCases[] = {{TOKEN_READ, ERROR_INSUFFICIENT_BUFFER, ERROR_ACCESS_DENIED},
                  {TOKEN_ADJUST_PRIVILEGES, ERROR_ACCESS_DENIED, ERROR_SUCCESS},
                  {0x80000000 /* GENERIC_READ */, ERROR_INSUFFICIENT_BUFFER, ERROR_ACCESS_DENIED},
                  {0x02000000 /* MAXIMUM_ALLOWED */, ERROR_INSUFFICIENT_BUFFER, ERROR_SUCCESS}};
    for (const auto& row : kCases) {
        const auto token = TokenFor(Credentials{1, 0, {}}, row.access);
        EXPECT_EQ(row.query_status, QueryGroupsStatus(token.get())) << std::hex << row.access;
        EXPECT_EQ(row.adjust_status, DisableAllStatus(token.get())) << std::hex << row.access;
    }
}

TEST(TokenGroupsLayout, GroupsOnceEachWithSidsInsideTheBufferAndOneByteLessIsTooSmall) {
    const TokenHandle token = TokenFor(Credentials{1000, 1000, {27, 1000, 0, 27, 4}});
    const std::vector<std::vector<BYTE>> expected = {
        SidBytesOf(22, {2, 1000}), SidBytesOf(22, {2, 27}), AdministratorsSidBytes(),
        SidBytesOf(22, {2, 4})};
    DWORD needed = 0;
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, QueryGroupsStatus(token.get(), &needed));
    EXPECT_EQ(offsetof(TOKEN_GROUPS, Groups) + 4 * (sizeof(SID_AND_ATTRIBUTES) + 16), needed);
    std::vector<std::uint64_t> storage(needed / 8 + 1, 0xABABABABABABABAB);
    auto* bytes = reinterpret_cast<BYTE*>(storage.data());
    DWORD returned = 0;
    // One byte less fails, leaves the buffer untouched and tells the size needed again.
    EXPECT_FALSE(GetTokenInformation(token.get(), TokenGroups, bytes, needed - 1, &returned));
    EXPECT_EQ(needed, returned);
    EXPECT_EQ(std::vector<std::uint64_t>(storage.size(), 0xABABABABABABABAB), storage);
    ASSERT_TRUE(GetTokenInformation(token.get(), TokenGroups, bytes, needed, &returned));
    EXPECT_EQ(needed, returned);

    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(bytes);
    ASSERT_EQ(expected.size(), groups->GroupCount);
    const BYTE* previous_end =
        bytes + offsetof(TOKEN_GROUPS, Groups) + groups->GroupCount * sizeof(SID_AND_ATTRIBUTES);
    for (DWORD index = 0; index < groups->GroupCount; ++index) {
        const auto* sid = static_cast<const BYTE*>(groups->Groups[index].Sid);
        EXPECT_GE(sid, previous_end) << "group " << index << " overlaps what comes before it";
        EXPECT_EQ(0u, reinterpret_cast<std::uintptr_t>(sid) % alignof(SID)) << "group " << index;
        previous_end = sid + GetLengthSid(groups->Groups[index].Sid);
        EXPECT_LE(previous_end, bytes + needed) << "group " << index << " runs past the buffer";
        EXPECT_EQ(expected[index], SidBytes(groups->Groups[index].Sid)) << "group " << index;
        EXPECT_EQ(
            static_cast<DWORD>(SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED),
            groups->Groups[index].Attributes);
    }
}

// No fixed limit on the groups: a user in many of them is listed whole.
TEST(TokenGroupsLayout, ManyGroupsAreListedWhole) {
    std::vector<gid_t> groups(40);
    std::iota(groups.begin(), groups.end(), 2000);
    groups.push_back(0);
    const std::vector<std::vector<BYTE>> sids =
        GroupSidsOf(TokenFor(Credentials{1000, 1000, groups}).get());
    ASSERT_EQ(42u, sids.size());
    EXPECT_EQ(AdministratorsSidBytes(), sids.back());
}

TEST(TokenGroupsBufferProtocol, UnsupportedClassOrMissingReturnLengthIsInvalid) {
    const TokenHandle token = TokenFor(Credentials{1000, 1000, {}});
    std::vector<std::uint64_t> storage(64);
    DWORD returned = 0;
    for (DWORD* length : {&returned, static_cast<DWORD*>(nullptr)}) {
        EXPECT_FALSE(GetTokenInformation(token.get(), length ? TokenOwner : TokenGroups,
                                         storage.data(), 512, length));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    }
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
