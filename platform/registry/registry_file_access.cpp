#include "platform/registry/registry_file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/format.h"
#include "platform/posix_file.h"
#include "platform/registry/registry_failure.h"

namespace zov {

LSTATUS CheckRegistryFileAccess(const std::string& path, bool for_writing) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            return RefuseRegistry(RegistryStatusFromErrno(errno), path, std::strerror(errno));
        }
        if (!for_writing) {
            return ERROR_SUCCESS;
        }
        // The file and perhaps its directories will be created: the nearest existing directory
        // must let us.
        std::string dir = DirectoryOf(path);
        while (stat(dir.c_str(), &info) != 0 && dir != "/" && dir != ".") {
            dir = DirectoryOf(dir);
        }
        if (faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
            const int error = errno;
            return RefuseRegistry(ERROR_ACCESS_DENIED, path,
                                  FormatText("cannot create the registry in %s (%s)", dir.c_str(),
                                             std::strerror(error)));
        }
        return ERROR_SUCCESS;
    }
    if (faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) != 0) {
        const int error = errno;
        return RefuseRegistry(ERROR_ACCESS_DENIED, path,
                              FormatText("no read permission (%s)", std::strerror(error)));
    }
    if (!for_writing) {
        return ERROR_SUCCESS;
    }
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        const int error = errno;
        return RefuseRegistry(ERROR_ACCESS_DENIED, path,
                              error == EROFS
                                  ? std::string("it is on a read-only file system")
                                  : FormatText("no write permission (%s)", std::strerror(error)));
    }
    const std::string dir = DirectoryOf(path);
    if (faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        const int error = errno;
        return RefuseRegistry(ERROR_ACCESS_DENIED, path,
                              FormatText("no write permission on its directory %s (%s)",
                                         dir.c_str(), std::strerror(error)));
    }
    return ERROR_SUCCESS;
}

int MakeRegistryDirectories(const std::string& dir) {
    struct stat info {};
    if (stat(dir.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    }
    if (errno != ENOENT) {
        return errno;
    }
    const std::string parent = DirectoryOf(dir);
    if (parent != dir) {
        const int error = MakeRegistryDirectories(parent);
        if (error != 0) {
            return error;
        }
    }
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
        return errno;
    }
    return 0;
}

}  // namespace zov
