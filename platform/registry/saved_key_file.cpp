#include "platform/registry/saved_key_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/registry/saved_key_format.h"

namespace zov {
namespace {

LSTATUS StatusFromErrno(int error) {
    switch (error) {
        case EEXIST:
            return ERROR_ALREADY_EXISTS;
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case ELOOP:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case EROFS:
            return ERROR_WRITE_PROTECT;
        case ENOSPC:
        case EDQUOT:
            return ERROR_DISK_FULL;
        case ENAMETOOLONG:
            return ERROR_BAD_PATHNAME;
        default:
            return ERROR_CANTWRITE;
    }
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

LSTATUS WriteSavedKeyFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                          SavedKeyDurability durability) {
    if (path.empty()) {
        return ERROR_INVALID_PARAMETER;
    }
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return StatusFromErrno(errno);
    }
    std::size_t written = 0;
    int error = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    const bool synced = durability == SavedKeyDurability::kSynced;
    if (error == 0 && synced && fsync(fd) != 0) {
        error = errno;
    }
    if (close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        unlink(path.c_str());  // the file is ours: created exclusively above
        return error == ENOSPC || error == EDQUOT ? static_cast<LSTATUS>(ERROR_DISK_FULL)
                                                  : ERROR_CANTWRITE;
    }
    if (!synced) {
        return ERROR_SUCCESS;
    }
    // Make the new directory entry durable too.
    const int dir = open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return ERROR_SUCCESS;
}

LSTATUS ReadSavedKeyFile(const std::string& path, std::vector<std::uint8_t>* bytes) {
    bytes->clear();
    if (path.empty()) {
        return ERROR_INVALID_PARAMETER;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        return error == ELOOP ? static_cast<LSTATUS>(ERROR_ACCESS_DENIED) : StatusFromErrno(error);
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        close(fd);
        return ERROR_CANTREAD;
    }
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        return S_ISDIR(info.st_mode) ? static_cast<LSTATUS>(ERROR_ACCESS_DENIED)
                                     : ERROR_NOT_REGISTRY_FILE;
    }
    if (static_cast<std::uint64_t>(info.st_size) > kMaxSavedKeyFileSize) {
        close(fd);
        return ERROR_REGISTRY_CORRUPT;
    }
    bytes->resize(static_cast<std::size_t>(info.st_size));
    std::size_t got = 0;
    while (got < bytes->size()) {
        const ssize_t n = read(fd, bytes->data() + got, bytes->size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    // A file that shrank while read is cut to what was there; one that grew is damaged.
    char extra = 0;
    const bool grew = got == bytes->size() && read(fd, &extra, 1) > 0;
    close(fd);
    bytes->resize(got);
    return grew ? static_cast<LSTATUS>(ERROR_REGISTRY_CORRUPT) : ERROR_SUCCESS;
}

}  // namespace zov
