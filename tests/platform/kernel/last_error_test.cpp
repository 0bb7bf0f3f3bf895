#include <gtest/gtest.h>

#include <thread>

#include "platform/win32.h"

namespace {

TEST(LastError, EachThreadKeepsTheValueItSetLast) {
    SetLastError(ERROR_ACCESS_DENIED);
    SetLastError(ERROR_FILE_NOT_FOUND);
    DWORD seen_by_other_thread = 0xFFFFFFFF;
    std::thread other([&] {
        seen_by_other_thread = GetLastError();
        SetLastError(ERROR_INVALID_HANDLE);
    });
    other.join();
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), seen_by_other_thread);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
}

}  // namespace
