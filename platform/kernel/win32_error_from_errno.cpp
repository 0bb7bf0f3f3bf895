#include "platform/kernel/win32_error_from_errno.h"

#include <cerrno>

namespace zov {

DWORD Win32ErrorFromErrno(int errno_value) {
    switch (errno_value) {
        case 0:
            return ERROR_SUCCESS;
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
        case ELOOP:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        case EBADF:
            return ERROR_INVALID_HANDLE;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return ERROR_DISK_FULL;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case EAGAIN:
        case ETXTBSY:
            return ERROR_SHARING_VIOLATION;
        case EBUSY:
            return ERROR_BUSY;
        default:
            // EIO and anything without a closer Win32 meaning.
            return ERROR_GEN_FAILURE;
    }
}

}  // namespace zov
