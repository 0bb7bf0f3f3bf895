#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;

class DeleteFile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zov-delete-XXXXXX").string();
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        directory_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
    }
    std::string PathOf(const std::string& name) const { return (directory_ / name).string(); }
    void MakeFile(const std::string& name) const { std::ofstream(PathOf(name)) << "data"; }

    fs::path directory_;
};

TEST_F(DeleteFile, RemovesARegularFile) {
    MakeFile("ZOVsavREG");
    EXPECT_TRUE(DeleteFileA(PathOf("ZOVsavREG").c_str()));
    EXPECT_FALSE(fs::exists(PathOf("ZOVsavREG")));
}

TEST_F(DeleteFile, RemovesTheLinkAndLeavesItsTarget) {
    MakeFile("target");
    fs::create_symlink(PathOf("target"), PathOf("link"));
    EXPECT_TRUE(DeleteFileA(PathOf("link").c_str()));
    EXPECT_FALSE(fs::is_symlink(fs::symlink_status(PathOf("link"))));
    EXPECT_TRUE(fs::is_regular_file(PathOf("target")));
}

TEST_F(DeleteFile, RemovesALinkToADirectoryAndADanglingLink) {
    fs::create_directory(PathOf("folder"));
    fs::create_directory_symlink(PathOf("folder"), PathOf("folder-link"));
    fs::create_symlink(PathOf("nowhere"), PathOf("dangling"));
    EXPECT_TRUE(DeleteFileA(PathOf("folder-link").c_str()));
    EXPECT_TRUE(DeleteFileA(PathOf("dangling").c_str()));
    EXPECT_TRUE(fs::is_directory(PathOf("folder")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(PathOf("dangling"))));
}

TEST_F(DeleteFile, DirectoryIsRefusedWithAccessDenied) {
    fs::create_directory(PathOf("folder"));
    EXPECT_FALSE(DeleteFileA(PathOf("folder").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    EXPECT_TRUE(fs::is_directory(PathOf("folder")));
}

TEST_F(DeleteFile, MissingFileIsFileNotFound) {
    EXPECT_FALSE(DeleteFileA(PathOf("missing").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
}

TEST_F(DeleteFile, MissingDirectoryOnThePathIsPathNotFound) {
    EXPECT_FALSE(DeleteFileA(PathOf("no-such-folder/ZOVsavREG").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
}

TEST_F(DeleteFile, FileUsedAsADirectoryIsPathNotFound) {
    MakeFile("plain");
    EXPECT_FALSE(DeleteFileA(PathOf("plain/ZOVsavREG").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
    EXPECT_TRUE(fs::exists(PathOf("plain")));
}

TEST_F(DeleteFile, EmptyOrNullNameFails) {
    EXPECT_FALSE(DeleteFileA(""));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
    EXPECT_FALSE(DeleteFileA(nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

// The status of DeleteFileA(path) as the user "nobody", from a forked child that drops to it;
// -1 when the child could not be run or could not drop.
long DeleteAsNobody(const std::string& path) {
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr) {
        return -1;
    }
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    const pid_t child = fork();
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0) {
            _exit(255);
        }
        _exit(DeleteFileA(path.c_str()) ? 0 : static_cast<int>(GetLastError() & 0x7F));
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) == 255) {
        return -1;
    }
    return WEXITSTATUS(status);
}

TEST_F(DeleteFile, FileInADirectoryWithoutWriteRightIsAccessDenied) {
    fs::create_directory(PathOf("locked"));
    MakeFile("locked/file");
    if (geteuid() == 0) {
        // Root may delete anywhere: the attempt is made by "nobody" in a child.
        ASSERT_EQ(0, chmod(directory_.c_str(), 0755));
        ASSERT_EQ(0, chmod(PathOf("locked").c_str(), 0755));
        const long status = DeleteAsNobody(PathOf("locked/file"));
        if (status == -1) {
            GTEST_SKIP() << "could not run as nobody";
        }
        EXPECT_EQ(ERROR_ACCESS_DENIED, status);
    } else {
        ASSERT_EQ(0, chmod(PathOf("locked").c_str(), 0500));
        EXPECT_FALSE(DeleteFileA(PathOf("locked/file").c_str()));
        EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
        chmod(PathOf("locked").c_str(), 0700);
    }
    EXPECT_TRUE(fs::exists(PathOf("locked/file")));
}

}  // namespace
