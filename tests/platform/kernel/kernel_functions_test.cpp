// The kernel calls of the platform: DeleteFileA and the errno mapping behind its statuses, whole
// reads and writes, the self-closing descriptor, the directory of a path; and the process state,
// environment variables and each thread's last error.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/kernel/win32_error_from_errno.h"
#include "platform/posix_file.h"
#include "platform/win32.h"
#include "registry_test_support.h"

namespace zov::test {
namespace {

namespace fs = std::filesystem;

class DeleteFile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zov-delete-XXXXXX").string();
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        directory_ = pattern;
        fs::create_directory(PathOf("folder"));
        std::ofstream(PathOf("file")) << "data";
        std::ofstream(PathOf("folder/file")) << "data";
    }
    void TearDown() override { fs::remove_all(directory_); }
    std::string PathOf(const std::string& name) const { return (directory_ / name).string(); }

    fs::path directory_;
};

// (A link in a file's place goes, never what it points to: tests/store/card_removal_test.cpp.)
TEST_F(DeleteFile, RefusalsLeaveEverythingInPlace) {
    // (A folder in the path's place: tests/store/card_removal_test.cpp.)
    const std::pair<const char*, DWORD> rows[] = {{"missing", ERROR_FILE_NOT_FOUND},
                                                  {"no-such-folder/file", ERROR_PATH_NOT_FOUND},
                                                  {"file/file", ERROR_PATH_NOT_FOUND}};
    for (const auto& [name, error] : rows) {
        EXPECT_FALSE(DeleteFileA(PathOf(name).c_str())) << name;
        EXPECT_EQ(error, GetLastError()) << name;
    }
    EXPECT_TRUE(fs::exists(PathOf("file")));
    EXPECT_FALSE(DeleteFileA(""));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
    EXPECT_FALSE(DeleteFileA(nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST_F(DeleteFile, FileInADirectoryWithoutWriteRightIsAccessDeniedForNobody) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to drop to nobody";
    }
    ASSERT_EQ(0, chmod(directory_.c_str(), 0755));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RunInChild([this] {
                  return BecomeNobody() && !DeleteFileA(PathOf("folder/file").c_str())
                             ? static_cast<int>(GetLastError())
                             : 255;
              }));
    EXPECT_TRUE(fs::exists(PathOf("folder/file")));
}

// The one errno mapping: the values the stand-ins once answered differently, and the fallback a
// caller chooses.
TEST(Win32ErrorFromErrnoTest, ChosenStatusesAndTheCallersFallback) {
    struct Row {
        int error;
        DWORD otherwise;
        DWORD status;
    };
    const Row rows[] = {
        {0, ERROR_CANTWRITE, ERROR_SUCCESS},
        // (EEXIST: the saved-key tests of tests/platform/registry.)
        {ENOENT, ERROR_GEN_FAILURE, ERROR_FILE_NOT_FOUND},
        {EROFS, ERROR_GEN_FAILURE, ERROR_ACCESS_DENIED},
        {ENOSPC, ERROR_CANTWRITE, ERROR_DISK_FULL},
        {EIO, ERROR_GEN_FAILURE, ERROR_GEN_FAILURE},
        {EIO, ERROR_CANTOPEN, ERROR_CANTOPEN},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Win32ErrorFromErrno(row.error, row.otherwise), row.status) << row.error;
    }
}

TEST(PosixFileTest, DirectoryOfAPath) {
    const std::pair<const char*, const char*> rows[] = {
        {"registry.db", "."},          {"/registry.db", "/"}, {"/var/lib/zov/db", "/var/lib/zov"},
        {"/var/lib/zov/", "/var/lib"}, {"dir/file", "dir"},   {"/", "/"},
    };
    for (const auto& [path, directory] : rows) {
        EXPECT_EQ(DirectoryOf(path), directory) << path;
    }
}

TEST(PosixFileTest, WholeWritesAndReadsThroughAPipeAndTheDescriptorClosesItself) {
    int ends[2] = {-1, -1};
    ASSERT_EQ(pipe(ends), 0);
    UniqueFd reader(ends[0]);
    int writer_fd = -1;
    {
        UniqueFd writer(ends[1]);
        writer_fd = writer.Get();
        const std::string text = "0123456789";
        ASSERT_TRUE(WriteAll(writer.Get(), text.data(), text.size()));
        UniqueFd moved = std::move(writer);
        EXPECT_EQ(moved.Get(), writer_fd);
    }
    EXPECT_EQ(fcntl(writer_fd, F_GETFD), -1);  // closed once, by the descriptor it moved to
    std::string got(16, '\0');
    // Asks for more than was written: ReadAll stops at the end of the file.
    EXPECT_EQ(ReadAll(reader.Get(), got.data(), got.size()), 10);
    EXPECT_EQ(got.substr(0, 10), "0123456789");
    EXPECT_EQ(reader.Close(), 0);
    EXPECT_EQ(ReadAll(reader.Get(), got.data(), got.size()), -1);
}

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
}  // namespace zov::test
