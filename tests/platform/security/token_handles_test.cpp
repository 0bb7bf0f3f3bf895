#include <gtest/gtest.h>

#include "platform/security/credentials.h"
#include "platform/win32.h"

namespace {

TEST(TokenHandles, ClosingTwiceFailsTheSecondTimeWithInvalidHandle) {
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &token));
    EXPECT_TRUE(CloseHandle(token));
    EXPECT_FALSE(CloseHandle(token));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
}

TEST(TokenHandles, ClosedHandleCanNoLongerBeQueriedOrAdjusted) {
    HANDLE token = zov::OpenTokenForCredentials(zov::Credentials{1, 0, {}});
    ASSERT_TRUE(CloseHandle(token));
    DWORD length = 0;
    EXPECT_FALSE(GetTokenInformation(token, TokenGroups, nullptr, 0, &length));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_FALSE(AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
}

TEST(TokenHandles, GarbageAndNullHandlesAreRejectedWithoutBeingFollowed) {
    int not_a_handle = 0;
    // NOLINTNEXTLINE(performance-no-int-to-ptr): a made-up handle value is the point here.
    const auto made_up = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1234));
    for (HANDLE garbage :
         {static_cast<HANDLE>(nullptr), static_cast<HANDLE>(&not_a_handle), made_up}) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(CloseHandle(garbage));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    }
}

TEST(TokenHandles, EachOpenGivesADistinctHandle) {
    HANDLE first = nullptr;
    HANDLE second = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &first));
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &second));
    EXPECT_NE(first, second);
    EXPECT_TRUE(CloseHandle(first));
    DWORD length = 0;
    EXPECT_FALSE(GetTokenInformation(second, TokenGroups, nullptr, 0, &length));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError())
        << "closing one handle must not close the other";
    EXPECT_TRUE(CloseHandle(second));
}

TEST(ProcessPseudoHandle, IsMinusOneAndClosingItHasNoEffect) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): Windows' pseudo-handle value.
    const auto minus_one = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
    EXPECT_EQ(minus_one, GetCurrentProcess());
    EXPECT_TRUE(CloseHandle(GetCurrentProcess()));
    HANDLE token = nullptr;
    EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &token));
    CloseHandle(token);
}

TEST(ProcessPseudoHandle, OpeningTheTokenOfAnotherProcessHandleFails) {
    HANDLE token = nullptr;
    int not_a_process = 0;
    EXPECT_FALSE(OpenProcessToken(&not_a_process, TOKEN_READ, &token));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(nullptr, token);
    EXPECT_FALSE(OpenProcessToken(GetCurrentProcess(), TOKEN_READ, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST(TokenAccess, GenericReadAllowsQueryingButNotAdjusting) {
    constexpr DWORD kGenericRead = 0x80000000;
    HANDLE token = zov::OpenTokenForCredentials(zov::Credentials{1, 0, {}}, kGenericRead);
    DWORD length = 0;
    EXPECT_FALSE(GetTokenInformation(token, TokenGroups, nullptr, 0, &length));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_FALSE(AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    CloseHandle(token);
}

TEST(TokenAccess, MaximumAllowedGrantsEveryTokenRight) {
    constexpr DWORD kMaximumAllowed = 0x02000000;
    HANDLE token = zov::OpenTokenForCredentials(zov::Credentials{1, 0, {}}, kMaximumAllowed);
    EXPECT_TRUE(AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr));
    DWORD length = 0;
    EXPECT_FALSE(GetTokenInformation(token, TokenGroups, nullptr, 0, &length));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    CloseHandle(token);
}

}  // namespace
