#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win32.h"
#include "registry_test_support.h"

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
        fs::create_symlink(PathOf("file"), PathOf("link"));
        fs::create_directory_symlink(PathOf("folder"), PathOf("folder-link"));
        fs::create_symlink(PathOf("nowhere"), PathOf("dangling"));
    }
    void TearDown() override { fs::remove_all(directory_); }
    std::string PathOf(const std::string& name) const { return (directory_ / name).string(); }

    fs::path directory_;
};

TEST_F(DeleteFile, RemovesFilesAndLinksButNeverWhatALinkPointsTo) {
    for (const char* name : {"link", "folder-link", "dangling", "file"}) {
        EXPECT_TRUE(DeleteFileA(PathOf(name).c_str())) << name;
        EXPECT_FALSE(fs::exists(fs::symlink_status(PathOf(name)))) << name;
    }
    EXPECT_TRUE(fs::is_regular_file(PathOf("folder/file")));
}

TEST_F(DeleteFile, RefusalsLeaveEverythingInPlace) {
    const std::pair<const char*, DWORD> rows[] = {{"folder", ERROR_ACCESS_DENIED},
                                                  {"missing", ERROR_FILE_NOT_FOUND},
                                                  {"no-such-folder/file", ERROR_PATH_NOT_FOUND},
                                                  {"file/file", ERROR_PATH_NOT_FOUND}};
    for (const auto& [name, error] : rows) {
        EXPECT_FALSE(DeleteFileA(PathOf(name).c_str())) << name;
        EXPECT_EQ(error, GetLastError()) << name;
    }
    EXPECT_TRUE(fs::is_directory(PathOf("folder")));
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
    EXPECT_EQ(ERROR_ACCESS_DENIED, zov::test::RunInChild([this] {
                  return zov::test::BecomeNobody() && !DeleteFileA(PathOf("folder/file").c_str())
                             ? static_cast<int>(GetLastError())
                             : 255;
              }));
    EXPECT_TRUE(fs::exists(PathOf("folder/file")));
}

}  // namespace
