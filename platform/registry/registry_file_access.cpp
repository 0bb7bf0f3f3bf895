#include "platform/registry/registry_file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/format.h"
#include "platform/posix_file.h"
#include "platform/registry/registry_failure.h"
#include "platform/registry/registry_file_owners.h"

namespace zov {
namespace {

// Why the file or folder at path may not be written, in terms of the trust model: who may.
std::string NoWritePermission(const std::string& what, const std::string& path, int error) {
    struct stat info {};
    if (error == EROFS) {
        return FormatText("%s is on a read-only file system", what.c_str());
    }
    if (stat(path.c_str(), &info) != 0) {
        return FormatText("no write permission on %s (%s)", what.c_str(), std::strerror(error));
    }
    const std::string who = (info.st_mode & S_IWGRP) != 0
                                ? "members of group " + GroupName(info.st_gid)
                                : "user " + UserName(info.st_uid);
    return FormatText(
        "no write permission on %s (mode %04o, owner %s, group %s): only %s may change the "
        "registry; see PERMISSIONS in zovcfg(1)",
        what.c_str(), static_cast<unsigned>(info.st_mode & 07777), UserName(info.st_uid).c_str(),
        GroupName(info.st_gid).c_str(), who.c_str());
}

}  // namespace

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
                              NoWritePermission("the file", path, error));
    }
    const std::string dir = DirectoryOf(path);
    if (faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        const int error = errno;
        return RefuseRegistry(ERROR_ACCESS_DENIED, path,
                              NoWritePermission("its folder " + dir, dir, error));
    }
    return ERROR_SUCCESS;
}

}  // namespace zov
