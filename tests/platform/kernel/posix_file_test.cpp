// The file helper of the platform: whole reads and writes, the self-closing descriptor, and the
// directory of a path.
#include "platform/posix_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace zov {
namespace {

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
    EXPECT_FALSE(WriteAll(-1, "x", 1));
}

}  // namespace
}  // namespace zov
