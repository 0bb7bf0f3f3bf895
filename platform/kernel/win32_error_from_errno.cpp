#include "platform/kernel/win32_error_from_errno.h"

#include <cerrno>

namespace zov {

DWORD Win32ErrorFromErrno(int errno_value, DWORD otherwise) {
    switch (errno_value) {
        case 0:
            return ERROR_SUCCESS;
        // ENOENT does not say which component is missing: the file, as Windows says for a
        // missing last component; callers that know a directory is missing say PATH_NOT_FOUND.
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
        case ELOOP:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EISDIR:
        // A read-only mount is one more reason not to be allowed to write: the registry answers
        // every such refusal with ERROR_ACCESS_DENIED, and callers test for that one status.
        case EROFS:
            return ERROR_ACCESS_DENIED;
        // Only exclusive creation meets EEXIST here (RegSaveKeyA), and Windows answers that
        // call with ERROR_ALREADY_EXISTS rather than CreateFile's ERROR_FILE_EXISTS.
        case EEXIST:
            return ERROR_ALREADY_EXISTS;
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
            return otherwise;  // EIO and anything without a closer Win32 meaning
    }
}

}  // namespace zov
