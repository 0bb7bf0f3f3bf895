// DeleteFileA over unlink: removes a file or a symbolic link itself, never a link's target and
// never a directory.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/kernel/win32_error_from_errno.h"
#include "platform/posix_file.h"
#include "platform/win32/kernel.h"

namespace {

bool IsExistingDirectory(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

DWORD StatusOfFailedUnlink(const std::string& path, int unlink_errno) {
    if (unlink_errno == ENOENT) {
        // Windows tells a missing file apart from a missing directory on the way to it.
        return IsExistingDirectory(zov::DirectoryOf(path)) ? ERROR_FILE_NOT_FOUND
                                                           : ERROR_PATH_NOT_FOUND;
    }
    struct stat status {};
    if (lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        // POSIX answers EISDIR or EPERM for a directory; Windows refuses it as access denied.
        return ERROR_ACCESS_DENIED;
    }
    return zov::Win32ErrorFromErrno(unlink_errno);
}

}  // namespace

BOOL DeleteFileA(LPCSTR lpFileName) {
    if (lpFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string path = lpFileName;
    if (path.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (unlink(path.c_str()) != 0) {
        const int unlink_errno = errno;
        SetLastError(StatusOfFailedUnlink(path, unlink_errno));
        return FALSE;
    }
    return TRUE;
}
