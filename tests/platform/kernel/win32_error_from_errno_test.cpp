// The one errno mapping: the three values the stand-ins once answered differently, and the
// fallback a caller chooses.
#include "platform/kernel/win32_error_from_errno.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace zov {
namespace {

TEST(Win32ErrorFromErrnoTest, ChosenStatusesAndTheCallersFallback) {
    struct Row {
        int error;
        DWORD otherwise;
        DWORD status;
    };
    const Row rows[] = {
        {0, ERROR_CANTWRITE, ERROR_SUCCESS},
        {ENOENT, ERROR_GEN_FAILURE, ERROR_FILE_NOT_FOUND},
        {EROFS, ERROR_GEN_FAILURE, ERROR_ACCESS_DENIED},
        {EEXIST, ERROR_GEN_FAILURE, ERROR_ALREADY_EXISTS},
        {ENOSPC, ERROR_CANTWRITE, ERROR_DISK_FULL},
        {EIO, ERROR_GEN_FAILURE, ERROR_GEN_FAILURE},
        {EIO, ERROR_CANTOPEN, ERROR_CANTOPEN},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Win32ErrorFromErrno(row.error, row.otherwise), row.status) << row.error;
    }
}

}  // namespace
}  // namespace zov
