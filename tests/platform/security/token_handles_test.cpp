// Token handles: closing, garbage values and the rights each handle was opened with.
#include <cstdint>

#include <gtest/gtest.h>

#include "platform/security/credentials.h"
#include "platform/win32.h"
#include "token_test_support.h"

namespace {

DWORD QueryGroupsStatus(HANDLE token) {
    DWORD length = 0;
    GetTokenInformation(token, TokenGroups, nullptr, 0, &length);
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
        const auto token = zov::testing::TokenFor(zov::Credentials{1, 0, {}}, row.access);
        EXPECT_EQ(row.query_status, QueryGroupsStatus(token.get())) << std::hex << row.access;
        EXPECT_EQ(row.adjust_status, DisableAllStatus(token.get())) << std::hex << row.access;
    }
}

}  // namespace
