#include "platform/registry/registry_file_creation.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/format.h"
#include "platform/posix_file.h"
#include "platform/registry/registry_failure.h"
#include "platform/registry/registry_file_owners.h"

namespace zov {
namespace {

// Gives a file this process has just created its group and mode through its descriptor, so that
// no link put in its place is followed. Handing it to group 0 may be refused (the creator is not
// a member); the file then keeps the creator's group.
int SetGroupAndMode(int fd, unsigned mode) {
    if (fchown(fd, static_cast<uid_t>(-1), kRegistryAdminGroup) != 0 && errno != EPERM) {
        return errno;
    }
    return fchmod(fd, static_cast<mode_t>(mode)) == 0 ? 0 : errno;
}

int MakeFolder(const std::string& dir, unsigned mode, bool admin_group) {
    if (mkdir(dir.c_str(), 0700) != 0) {
        return errno == EEXIST ? 0 : errno;  // made meanwhile by someone else: theirs
    }
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int error = admin_group ? SetGroupAndMode(fd, mode)
                                  : (fchmod(fd, static_cast<mode_t>(mode)) == 0 ? 0 : errno);
    close(fd);
    return error;
}

// Creates the missing folders of dir from the top down: dir itself as the registry's folder.
int MakeFolders(const std::string& dir) {
    std::vector<std::string> missing;
    struct stat info {};
    for (std::string at = dir; stat(at.c_str(), &info) != 0; at = DirectoryOf(at)) {
        if (errno != ENOENT || at == "/" || at == ".") {
            return errno == ENOENT ? ENOTDIR : errno;
        }
        missing.push_back(at);
    }
    if (missing.empty() && !S_ISDIR(info.st_mode)) {
        return ENOTDIR;
    }
    for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder) {
        const bool registry_folder = *folder == dir;
        const int error =
            MakeFolder(*folder, registry_folder ? kRegistryFolderMode : 0755, registry_folder);
        if (error != 0) {
            return error;
        }
    }
    return 0;
}

}  // namespace

LSTATUS CreateRegistryFiles(const std::string& path) {
    const std::string dir = DirectoryOf(path);
    int error = MakeFolders(dir);
    if (error != 0) {
        return RefuseRegistry(
            RegistryStatusFromErrno(error), path,
            FormatText("cannot create the folder %s (%s)", dir.c_str(), std::strerror(error)));
    }
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = errno;
        if (error == EEXIST) {
            return ERROR_SUCCESS;  // another process was first; its file is checked as any
        }
        return RefuseRegistry(RegistryStatusFromErrno(error), path,
                              FormatText("cannot create the registry (%s)", std::strerror(error)));
    }
    error = SetGroupAndMode(fd, kRegistryFileMode);
    close(fd);
    if (error != 0) {
        unlink(path.c_str());  // ours, created exclusively above
        return RefuseRegistry(
            RegistryStatusFromErrno(error), path,
            FormatText("cannot set the registry's permissions (%s)", std::strerror(error)));
    }
    return ERROR_SUCCESS;
}

}  // namespace zov
