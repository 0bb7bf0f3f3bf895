#include <sys/types.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "platform/security/credentials.h"
#include "platform/win32.h"
#include "token_test_support.h"

namespace {

using zov::Credentials;
using zov::testing::AdministratorsSidBytes;
using zov::testing::GroupSidsOf;
using zov::testing::SidBytes;
using zov::testing::SidBytesOf;

constexpr DWORD kExpectedGroupAttributes =
    SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED;

// A token handle for the credentials, closed when the test ends.
class TokenFor {
  public:
    explicit TokenFor(const Credentials& credentials, DWORD access = TOKEN_ALL_ACCESS)
        : handle_(zov::OpenTokenForCredentials(credentials, access)) {}
    ~TokenFor() { CloseHandle(handle_); }
    TokenFor(const TokenFor&) = delete;
    TokenFor& operator=(const TokenFor&) = delete;
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

DWORD NeededSize(HANDLE token, TOKEN_INFORMATION_CLASS information_class) {
    DWORD needed = 0;
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(GetTokenInformation(token, information_class, nullptr, 0, &needed));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    return needed;
}

TEST(TokenGroupsLayout, ListsEffectiveThenSupplementaryGroupsEachOnce) {
    TokenFor token(Credentials{1000, 1000, {27, 1000, 0, 27, 4}});
    const std::vector<std::vector<BYTE>> expected = {
        SidBytesOf(22, {2, 1000}), SidBytesOf(22, {2, 27}), AdministratorsSidBytes(),
        SidBytesOf(22, {2, 4})};
    EXPECT_EQ(expected, GroupSidsOf(token.get()));
}

TEST(TokenGroupsLayout, SidsLieInsideTheCallersBufferAfterTheArrayAndAligned) {
    TokenFor token(Credentials{1000, 100, {0, 24}});
    const DWORD needed = NeededSize(token.get(), TokenGroups);
    std::vector<std::uint64_t> storage(needed / 8 + 1);
    auto* bytes = reinterpret_cast<BYTE*>(storage.data());
    DWORD returned = 0;
    ASSERT_TRUE(GetTokenInformation(token.get(), TokenGroups, bytes, needed, &returned));
    EXPECT_EQ(needed, returned);

    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(bytes);
    ASSERT_EQ(3u, groups->GroupCount);
    const BYTE* array_end =
        bytes + offsetof(TOKEN_GROUPS, Groups) + groups->GroupCount * sizeof(SID_AND_ATTRIBUTES);
    const BYTE* previous_end = array_end;
    for (DWORD index = 0; index < groups->GroupCount; ++index) {
        const auto* sid = static_cast<const BYTE*>(groups->Groups[index].Sid);
        EXPECT_GE(sid, previous_end) << "group " << index << " overlaps what comes before it";
        EXPECT_EQ(0u, reinterpret_cast<std::uintptr_t>(sid) % alignof(SID)) << "group " << index;
        previous_end = sid + GetLengthSid(groups->Groups[index].Sid);
        EXPECT_LE(previous_end, bytes + needed) << "group " << index << " runs past the buffer";
        EXPECT_EQ(kExpectedGroupAttributes, groups->Groups[index].Attributes);
    }
    EXPECT_EQ(SidBytesOf(22, {2, 100}), SidBytes(groups->Groups[0].Sid));
    EXPECT_EQ(AdministratorsSidBytes(), SidBytes(groups->Groups[1].Sid));
    EXPECT_EQ(SidBytesOf(22, {2, 24}), SidBytes(groups->Groups[2].Sid));
}

TEST(TokenGroupsLayout, BufferWithoutPointerAlignmentIsStillFilledCorrectly) {
    TokenFor token(Credentials{5, 0, {}});
    const DWORD needed = NeededSize(token.get(), TokenGroups);
    std::vector<BYTE> storage(needed + 1);
    DWORD returned = 0;
    ASSERT_TRUE(
        GetTokenInformation(token.get(), TokenGroups, storage.data() + 1, needed, &returned));
    PSID sid = nullptr;
    std::memcpy(&sid, storage.data() + 1 + offsetof(TOKEN_GROUPS, Groups), sizeof(sid));
    EXPECT_EQ(AdministratorsSidBytes(), SidBytes(sid));
}

TEST(TokenGroupsBufferProtocol, TooSmallBufferIsLeftUntouchedAndNeededSizeReported) {
    TokenFor token(Credentials{1000, 1000, {20, 30}});
    const DWORD needed = NeededSize(token.get(), TokenGroups);
    EXPECT_EQ(offsetof(TOKEN_GROUPS, Groups) + 3 * sizeof(SID_AND_ATTRIBUTES) + 3 * std::size_t{16},
              needed);

    std::vector<BYTE> buffer(needed - 1, 0xAB);
    DWORD returned = 0;
    EXPECT_FALSE(
        GetTokenInformation(token.get(), TokenGroups, buffer.data(), needed - 1, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(needed, returned);
    EXPECT_EQ(std::vector<BYTE>(needed - 1, 0xAB), buffer);
}

TEST(TokenGroupsBufferProtocol, ManyGroupsExceedTheUtilitysKilobyte) {
    Credentials credentials{1000, 1000, {}};
    for (gid_t group = 2000; group < 2040; ++group) {
        credentials.supplementary_groups.push_back(group);
    }
    credentials.supplementary_groups.push_back(0);
    TokenFor token(credentials);

    const DWORD needed = NeededSize(token.get(), TokenGroups);
    EXPECT_GT(needed, 1024u);
    std::vector<std::uint64_t> kilobyte(1024 / 8);
    DWORD returned = 0;
    EXPECT_FALSE(GetTokenInformation(token.get(), TokenGroups, kilobyte.data(), 1024, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(needed, returned);

    const std::vector<std::vector<BYTE>> sids = GroupSidsOf(token.get());
    ASSERT_EQ(42u, sids.size());
    EXPECT_EQ(AdministratorsSidBytes(), sids.back());
}

TEST(TokenGroupsAccess, QueryWithoutQueryRightIsDenied) {
    TokenFor token(Credentials{1000, 1000, {}}, TOKEN_ADJUST_PRIVILEGES);
    std::vector<std::uint64_t> storage(64);
    DWORD returned = 0;
    EXPECT_FALSE(GetTokenInformation(token.get(), TokenGroups, storage.data(), 512, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
}

TEST(TokenGroupsAccess, ReadRightsAreEnoughToQuery) {
    TokenFor token(Credentials{1000, 1000, {}}, TOKEN_READ);
    EXPECT_EQ(1u, GroupSidsOf(token.get()).size());
}

TEST(TokenGroupsAccess, UnknownHandleIsRejected) {
    std::vector<std::uint64_t> storage(64);
    DWORD returned = 0;
    int not_a_token = 0;
    EXPECT_FALSE(GetTokenInformation(&not_a_token, TokenGroups, storage.data(), 512, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_FALSE(GetTokenInformation(nullptr, TokenGroups, storage.data(), 512, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
}

TEST(TokenUserLayout, UserSidFollowsTheStructureInsideTheBuffer) {
    TokenFor token(Credentials{4242, 100, {}});
    const DWORD needed = NeededSize(token.get(), TokenUser);
    EXPECT_EQ(sizeof(TOKEN_USER) + 16, needed);
    std::vector<std::uint64_t> storage(needed / 8 + 1);
    auto* bytes = reinterpret_cast<BYTE*>(storage.data());
    DWORD returned = 0;
    ASSERT_TRUE(GetTokenInformation(token.get(), TokenUser, bytes, needed, &returned));
    const auto* user = reinterpret_cast<const TOKEN_USER*>(bytes);
    EXPECT_EQ(bytes + sizeof(TOKEN_USER), static_cast<const BYTE*>(user->User.Sid));
    EXPECT_EQ(SidBytesOf(22, {1, 4242}), SidBytes(user->User.Sid));
    EXPECT_EQ(0u, user->User.Attributes);
}

TEST(TokenInformationClasses, UnsupportedClassFailsWithInvalidParameter) {
    TokenFor token(Credentials{1000, 1000, {}});
    std::vector<std::uint64_t> storage(64);
    DWORD returned = 0;
    EXPECT_FALSE(GetTokenInformation(token.get(), TokenOwner, storage.data(), 512, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST(TokenInformationClasses, MissingReturnLengthFailsWithInvalidParameter) {
    TokenFor token(Credentials{1000, 1000, {}});
    std::vector<std::uint64_t> storage(64);
    EXPECT_FALSE(GetTokenInformation(token.get(), TokenGroups, storage.data(), 512, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

}  // namespace
