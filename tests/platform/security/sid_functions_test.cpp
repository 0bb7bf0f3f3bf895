// AllocateAndInitializeSid, EqualSid, IsValidSid, GetLengthSid and FreeSid.
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "token_test_support.h"

namespace {

using zov::testing::AdministratorsSidBytes;
using zov::testing::SidBytes;
using zov::testing::SidBytesOf;

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

}  // namespace
