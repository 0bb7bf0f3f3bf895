#include <cerrno>

#include <gtest/gtest.h>

#include "platform/kernel/win32_error_from_errno.h"
#include "platform/win32.h"

namespace {

struct Mapping {
    int errno_value;
    DWORD status;
};

TEST(Win32ErrorFromErrno, FileSystemErrorsMapToTheirWin32Statuses) {
    const Mapping mappings[] = {
        {0, ERROR_SUCCESS},
        {ENOENT, ERROR_FILE_NOT_FOUND},
        {ENOTDIR, ERROR_PATH_NOT_FOUND},
        {EACCES, ERROR_ACCESS_DENIED},
        {EPERM, ERROR_ACCESS_DENIED},
        {EROFS, ERROR_ACCESS_DENIED},
        {EISDIR, ERROR_ACCESS_DENIED},
        {EEXIST, ERROR_FILE_EXISTS},
        {ENOSPC, ERROR_DISK_FULL},
        {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},
        {EBADF, ERROR_INVALID_HANDLE},
        {EINVAL, ERROR_INVALID_PARAMETER},
        {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
        {EMFILE, ERROR_TOO_MANY_OPEN_FILES},
        {EBUSY, ERROR_BUSY},
        {EAGAIN, ERROR_SHARING_VIOLATION},
    };
    for (const Mapping& mapping : mappings) {
        EXPECT_EQ(mapping.status, zov::Win32ErrorFromErrno(mapping.errno_value))
            << "errno " << mapping.errno_value;
    }
}

TEST(Win32ErrorFromErrno, UnknownErrnoIsAGeneralFailureNeverSuccess) {
    EXPECT_EQ(static_cast<DWORD>(ERROR_GEN_FAILURE), zov::Win32ErrorFromErrno(EXDEV));
    EXPECT_EQ(static_cast<DWORD>(ERROR_GEN_FAILURE), zov::Win32ErrorFromErrno(-5));
    EXPECT_EQ(static_cast<DWORD>(ERROR_GEN_FAILURE), zov::Win32ErrorFromErrno(100000));
}

}  // namespace
