#include "platform/registry/saved_key_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/kernel/win32_error_from_errno.h"
#include "platform/posix_file.h"
#include "platform/registry/saved_key_format.h"

namespace zov {
namespace {

// Saved-key files are written and read whole; a failure without a closer meaning is a failed
// write.
LSTATUS StatusFromErrno(int error) {
    return static_cast<LSTATUS>(Win32ErrorFromErrno(error, ERROR_CANTWRITE));
}

}  // namespace

LSTATUS WriteSavedKeyFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                          SavedKeyDurability durability) {
    if (path.empty()) {
        return ERROR_INVALID_PARAMETER;
    }
    UniqueFd file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.Valid()) {
        return StatusFromErrno(errno);
    }
    int error = WriteAll(file.Get(), bytes.data(), bytes.size()) ? 0 : errno;
    const bool synced = durability == SavedKeyDurability::kSynced;
    if (error == 0 && synced && fsync(file.Get()) != 0) {
        error = errno;
    }
    if (file.Close() != 0 && error == 0) {
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
    const UniqueFd dir(open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid()) {
        fsync(dir.Get());
    }
    return ERROR_SUCCESS;
}

LSTATUS ReadSavedKeyFile(const std::string& path, std::vector<std::uint8_t>* bytes) {
    bytes->clear();
    if (path.empty()) {
        return ERROR_INVALID_PARAMETER;
    }
    const UniqueFd file(
        open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file.Valid()) {
        const int error = errno;
        return error == ELOOP ? static_cast<LSTATUS>(ERROR_ACCESS_DENIED) : StatusFromErrno(error);
    }
    struct stat info {};
    if (fstat(file.Get(), &info) != 0) {
        return ERROR_CANTREAD;
    }
    if (!S_ISREG(info.st_mode)) {
        return S_ISDIR(info.st_mode) ? static_cast<LSTATUS>(ERROR_ACCESS_DENIED)
                                     : ERROR_NOT_REGISTRY_FILE;
    }
    if (static_cast<std::uint64_t>(info.st_size) > kMaxSavedKeyFileSize) {
        return ERROR_REGISTRY_CORRUPT;
    }
    bytes->resize(static_cast<std::size_t>(info.st_size));
    const ssize_t got = ReadAll(file.Get(), bytes->data(), bytes->size());
    if (got < 0) {
        bytes->clear();
        return ERROR_CANTREAD;
    }
    // A file that shrank while read is cut to what was there; one that grew is damaged.
    char extra = 0;
    const bool grew = static_cast<std::size_t>(got) == bytes->size() &&
                      RetryOnInterrupt([&] { return read(file.Get(), &extra, 1); }) > 0;
    bytes->resize(static_cast<std::size_t>(got));
    return grew ? static_cast<LSTATUS>(ERROR_REGISTRY_CORRUPT) : ERROR_SUCCESS;
}

}  // namespace zov
