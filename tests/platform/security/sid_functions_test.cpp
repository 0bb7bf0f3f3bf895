#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "token_test_support.h"

namespace {

using zov::testing::AdministratorsSidBytes;
using zov::testing::SidBytes;
using zov::testing::SidBytesOf;

PSID Allocate(SID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD first, DWORD second) {
    PSID sid = nullptr;
    EXPECT_TRUE(AllocateAndInitializeSid(&authority, count, first, second, 0, 0, 0, 0, 0, 0, &sid));
    return sid;
}

TEST(AllocateAndInitializeSid, BuildsTheLocalAdministratorsSid) {
    PSID sid =
        Allocate(SECURITY_NT_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
    ASSERT_NE(nullptr, sid);
    EXPECT_TRUE(IsValidSid(sid));
    EXPECT_EQ(16u, GetLengthSid(sid));
    EXPECT_EQ(AdministratorsSidBytes(), SidBytes(sid));
    EXPECT_EQ(nullptr, FreeSid(sid));
}

TEST(AllocateAndInitializeSid, KeepsOnlyTheRequestedSubAuthorities) {
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_WORLD_SID_AUTHORITY;
    PSID sid = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&authority, 3, 7, 8, 9, 10, 11, 12, 13, 14, &sid));
    EXPECT_EQ(SidBytesOf(1, {7, 8, 9}), SidBytes(sid));
    FreeSid(sid);
}

TEST(AllocateAndInitializeSid, RejectsMoreThanEightSubAuthoritiesAndMissingArguments) {
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    EXPECT_FALSE(AllocateAndInitializeSid(&authority, 9, 0, 0, 0, 0, 0, 0, 0, 0, &sid));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ(nullptr, sid);
    EXPECT_FALSE(AllocateAndInitializeSid(nullptr, 1, 0, 0, 0, 0, 0, 0, 0, 0, &sid));
    EXPECT_FALSE(AllocateAndInitializeSid(&authority, 1, 0, 0, 0, 0, 0, 0, 0, 0, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST(EqualSid, SameAdministratorsSidBuiltTwiceIsEqual) {
    PSID first =
        Allocate(SECURITY_NT_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
    PSID second =
        Allocate(SECURITY_NT_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
    EXPECT_TRUE(EqualSid(first, second));
    FreeSid(first);
    FreeSid(second);
}

TEST(EqualSid, DifferentRidAuthorityOrLengthIsNotEqualAndClearsTheLastError) {
    PSID administrators =
        Allocate(SECURITY_NT_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
    PSID users =
        Allocate(SECURITY_NT_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS);
    PSID other_authority = Allocate(SECURITY_WORLD_SID_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                    DOMAIN_ALIAS_RID_ADMINS);
    PSID shorter = Allocate(SECURITY_NT_AUTHORITY, 1, SECURITY_BUILTIN_DOMAIN_RID, 0);
    for (PSID other : {users, other_authority, shorter}) {
        SetLastError(ERROR_INVALID_FUNCTION);
        EXPECT_FALSE(EqualSid(administrators, other));
        EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
    }
    for (PSID sid : {administrators, users, other_authority, shorter}) {
        FreeSid(sid);
    }
}

TEST(EqualSid, MalformedSidIsRejected) {
    PSID administrators =
        Allocate(SECURITY_NT_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
    std::vector<BYTE> bad_revision = AdministratorsSidBytes();
    bad_revision[0] = 2;
    std::vector<BYTE> too_many = AdministratorsSidBytes();
    too_many[1] = 16;
    EXPECT_FALSE(EqualSid(administrators, bad_revision.data()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_FALSE(EqualSid(too_many.data(), administrators));
    EXPECT_FALSE(EqualSid(administrators, nullptr));
    EXPECT_FALSE(IsValidSid(bad_revision.data()));
    EXPECT_FALSE(IsValidSid(too_many.data()));
    EXPECT_FALSE(IsValidSid(nullptr));
    EXPECT_EQ(0u, GetLengthSid(too_many.data()));
    FreeSid(administrators);
}

TEST(FreeSid, ForeignOrAlreadyFreedSidIsReturnedNotFreed) {
    PSID sid = Allocate(SECURITY_NT_AUTHORITY, 1, 18, 0);
    EXPECT_EQ(nullptr, FreeSid(sid));
    EXPECT_EQ(sid, FreeSid(sid));
    std::vector<BYTE> on_stack = AdministratorsSidBytes();
    EXPECT_EQ(static_cast<PVOID>(on_stack.data()), FreeSid(on_stack.data()));
    EXPECT_EQ(nullptr, FreeSid(nullptr));
}

}  // namespace
