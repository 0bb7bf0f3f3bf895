// The process state the kernel calls give: environment variables and each thread's last error.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "platform/win32.h"

namespace {

TEST(EnvironmentVariable, SizeProtocolAndMissingNames) {
    constexpr const char* kName = "ZOV_KERNEL_TEST_VARIABLE";
    struct Row {
        const char* value;  // nullptr: unset
        const char* name;
        DWORD buffer_size;
        DWORD result;
        DWORD last_error;  // checked when the result is 0
        std::string buffer_after;
    };
    const Row rows[] = {
        {"/var/tmp", kName, 8, 9, 0, "xxxx"},  // no room for the zero: size needed, untouched
        {"", kName, 4, 0, ERROR_SUCCESS, std::string("\0xxx", 4)},
        {nullptr, kName, 4, 0, ERROR_ENVVAR_NOT_FOUND, "xxxx"},
        {"value", "", 4, 0, ERROR_ENVVAR_NOT_FOUND, "xxxx"},
        {"value", "ZOV_KERNEL_TEST_VARIABLE=value", 4, 0, ERROR_ENVVAR_NOT_FOUND, "xxxx"},
        {"value", nullptr, 4, 0, ERROR_INVALID_PARAMETER, "xxxx"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value == nullptr ? "(unset)" : row.value);
        row.value == nullptr ? unsetenv(kName) : setenv(kName, row.value, 1);
        std::string buffer(16, 'x');
        SetLastError(ERROR_INVALID_FUNCTION);
        EXPECT_EQ(row.result, GetEnvironmentVariableA(row.name, buffer.data(), row.buffer_size));
        EXPECT_EQ(row.buffer_after, buffer.substr(0, 4));
        if (row.result == 0) {
            EXPECT_EQ(row.last_error, GetLastError());
        }
        if (row.value != nullptr && row.name == kName) {  // a size query counts the zero
            EXPECT_EQ(std::string(row.value).size() + 1,
                      GetEnvironmentVariableA(kName, nullptr, 0));
        }
    }
    unsetenv(kName);
}

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
