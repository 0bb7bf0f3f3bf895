#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

constexpr const char* kName = "ZOV_KERNEL_TEST_VARIABLE";

class EnvironmentVariable : public ::testing::Test {
  protected:
    void TearDown() override { unsetenv(kName); }
    void Set(const char* value) { ASSERT_EQ(0, setenv(kName, value, 1)); }
};

TEST_F(EnvironmentVariable, ValueThatFitsIsCopiedAndItsLengthReturned) {
    Set("C:");
    std::vector<char> buffer(3, 'x');
    EXPECT_EQ(2u, GetEnvironmentVariableA(kName, buffer.data(), 3));
    EXPECT_EQ(std::string("C:"), std::string(buffer.data()));
}

TEST_F(EnvironmentVariable, BufferWithoutRoomForTheZeroGetsTheNeededSizeAndIsUntouched) {
    Set("/var/tmp");
    std::vector<char> buffer(8, 'x');
    EXPECT_EQ(9u, GetEnvironmentVariableA(kName, buffer.data(), 8));
    EXPECT_EQ(std::vector<char>(8, 'x'), buffer);
}

TEST_F(EnvironmentVariable, SizeQueryWithoutBufferReturnsSizeWithZero) {
    Set("/var/tmp");
    EXPECT_EQ(9u, GetEnvironmentVariableA(kName, nullptr, 0));
    EXPECT_EQ(9u, GetEnvironmentVariableA(kName, nullptr, 100));
}

TEST_F(EnvironmentVariable, EmptyValueReturnsZeroWithSuccess) {
    Set("");
    std::vector<char> buffer(4, 'x');
    SetLastError(ERROR_INVALID_FUNCTION);
    EXPECT_EQ(0u, GetEnvironmentVariableA(kName, buffer.data(), 4));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
    EXPECT_EQ('\0', buffer[0]);
    EXPECT_EQ(1u, GetEnvironmentVariableA(kName, nullptr, 0));
}

TEST_F(EnvironmentVariable, UnsetVariableIsNotFound) {
    unsetenv(kName);
    std::vector<char> buffer(16, 'x');
    EXPECT_EQ(0u, GetEnvironmentVariableA(kName, buffer.data(), 16));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND), GetLastError());
    EXPECT_EQ(std::vector<char>(16, 'x'), buffer);
}

TEST_F(EnvironmentVariable, NamesThatCannotExistAreNotFound) {
    Set("value");
    for (const char* name : {"", "ZOV_KERNEL_TEST_VARIABLE=value"}) {
        EXPECT_EQ(0u, GetEnvironmentVariableA(name, nullptr, 0)) << name;
        EXPECT_EQ(static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND), GetLastError()) << name;
    }
    EXPECT_EQ(0u, GetEnvironmentVariableA(nullptr, nullptr, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

}  // namespace
