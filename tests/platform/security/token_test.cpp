// Token handles: closing, garbage values and the rights each handle was opened with; and
// TokenGroups as the utility reads it: layout inside the caller's buffer and the size protocol.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "platform/security/credentials.h"
#include "platform/win32.h"
#include "token_test_support.h"

namespace {

using zov::Credentials;
using namespace zov::testing;

// Asks for the size of the token's groups, into `needed` when given; the last error, which is
// ERROR_INSUFFICIENT_BUFFER when the size was given.
DWORD QueryGroupsStatus(HANDLE token, DWORD* needed = nullptr) {
    DWORD length = 0;
    EXPECT_FALSE(GetTokenInformation(token, TokenGroups, nullptr, 0, &length));
    if (needed != nullptr) {
        *needed = length;
    }
    return GetLastError();
}

DWORD DisableAllStatus(HANDLE token) {
    AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr);
    return GetLastError();
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
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), QueryGroupsStatus(bad));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), DisableAllStatus(bad));
        HANDLE token = nullptr;
        EXPECT_FALSE(OpenProcessToken(bad, TOKEN_READ, &token));
        EXPECT_EQ(nullptr, token);
    }
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), QueryGroupsStatus(second));
    EXPECT_TRUE(CloseHandle(second));
}

TEST(TokenAccess, EachRightAllowsOnlyItsOwnCalls) {
    const struct {
        DWORD access;
        DWORD query_status;
        DWORD adjust_status;
    } kCases[] = {{TOKEN_READ, ERROR_INSUFFICIENT_BUFFER, ERROR_ACCESS_DENIED},
                  {TOKEN_ADJUST_PRIVILEGES, ERROR_ACCESS_DENIED, ERROR_SUCCESS},
                  {0x80000000 /* GENERIC_READ */, ERROR_INSUFFICIENT_BUFFER, ERROR_ACCESS_DENIED},
                  {0x02000000 /* MAXIMUM_ALLOWED */, ERROR_INSUFFICIENT_BUFFER, ERROR_SUCCESS}};
    for (const auto& row : kCases) {
        const auto token = TokenFor(zov::Credentials{1, 0, {}}, row.access);
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
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER),
              QueryGroupsStatus(token.get(), &needed));
    EXPECT_EQ(offsetof(TOKEN_GROUPS, Groups) + 4 * (sizeof(SID_AND_ATTRIBUTES) + 16), needed);
    std::vector<std::uint64_t> storage(needed / 8 + 1);
    auto* bytes = reinterpret_cast<BYTE*>(storage.data());
    DWORD returned = 0;
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

TEST(TokenGroupsBufferProtocol, ManyGroupsExceedTheUtilitysKilobyte) {
    Credentials credentials{1000, 1000, {}};
    for (gid_t group = 2000; group < 2040; ++group) {
        credentials.supplementary_groups.push_back(group);
    }
    credentials.supplementary_groups.push_back(0);
    const TokenHandle token = TokenFor(credentials);
    DWORD needed = 0;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER),
              QueryGroupsStatus(token.get(), &needed));
    EXPECT_GT(needed, 1024u);
    // The utility's buffer fails, stays untouched and learns the size needed.
    std::vector<BYTE> buffer(1024, 0xAB);
    DWORD returned = 0;
    EXPECT_FALSE(GetTokenInformation(token.get(), TokenGroups, buffer.data(), 1024, &returned));
    EXPECT_EQ(needed, returned);
    EXPECT_EQ(std::vector<BYTE>(1024, 0xAB), buffer);
    const std::vector<std::vector<BYTE>> sids = GroupSidsOf(token.get());
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

}  // namespace
