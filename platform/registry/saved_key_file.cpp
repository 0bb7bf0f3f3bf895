#include "platform/registry/saved_key_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

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

// What this process last did at a saved-key path: the descriptor of the file it wrote there, kept
// open so that the restore reads those very bytes (and the inode cannot be reused), or none after
// a save that failed, so that whatever sits at the path then is not taken for the saved key.
struct SavedFile {
    UniqueFd file;
    std::uint64_t size = 0;
};

std::mutex saved_files_mutex;
std::map<std::string, SavedFile>& SavedFiles() {
    static auto* files = new std::map<std::string, SavedFile>();
    return *files;
}

void Remember(const std::string& path, SavedFile saved) {
    std::lock_guard lock(saved_files_mutex);
    SavedFiles()[path] = std::move(saved);
}

std::optional<SavedFile> Forget(const std::string& path) {
    std::lock_guard lock(saved_files_mutex);
    const auto entry = SavedFiles().find(path);
    if (entry == SavedFiles().end()) {
        return std::nullopt;
    }
    SavedFile saved = std::move(entry->second);
    SavedFiles().erase(entry);
    return saved;
}

LSTATUS CreateAndWrite(const std::string& path, const std::vector<std::uint8_t>& bytes,
                       SavedKeyDurability durability, UniqueFd* kept) {
    UniqueFd file(open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.Valid()) {
        return StatusFromErrno(errno);
    }
    int error = WriteAll(file.Get(), bytes.data(), bytes.size()) ? 0 : errno;
    const bool synced = durability == SavedKeyDurability::kSynced;
    if (error == 0 && synced && fsync(file.Get()) != 0) {
        error = errno;
    }
    if (error != 0) {
        file.Close();
        unlink(path.c_str());  // the file is ours: created exclusively above
        return error == ENOSPC || error == EDQUOT ? static_cast<LSTATUS>(ERROR_DISK_FULL)
                                                  : ERROR_CANTWRITE;
    }
    *kept = std::move(file);
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

// Reads the file this process wrote, through its descriptor, after checking that the path
// still names it: the same inode, one link, ours, the size written.
LSTATUS ReadOwnFile(const std::string& path, const SavedFile& saved,
                    std::vector<std::uint8_t>* bytes) {
    struct stat opened {};
    struct stat named {};
    if (fstat(saved.file.Get(), &opened) != 0 || lstat(path.c_str(), &named) != 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (opened.st_dev != named.st_dev || opened.st_ino != named.st_ino || opened.st_nlink != 1 ||
        opened.st_uid != geteuid() || static_cast<std::uint64_t>(opened.st_size) != saved.size) {
        return ERROR_REGISTRY_CORRUPT;  // swapped, linked or changed since it was saved
    }
    bytes->resize(saved.size);
    std::size_t got = 0;
    while (got < bytes->size()) {
        const ssize_t n = RetryOnInterrupt([&] {
            return pread(saved.file.Get(), bytes->data() + got, bytes->size() - got,
                         static_cast<off_t>(got));
        });
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return got == bytes->size() ? ERROR_SUCCESS : ERROR_REGISTRY_CORRUPT;
}

}  // namespace

LSTATUS WriteSavedKeyFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                          SavedKeyDurability durability) {
    if (path.empty()) {
        return ERROR_INVALID_PARAMETER;
    }
    SavedFile saved;
    saved.size = bytes.size();
    const LSTATUS status = CreateAndWrite(path, bytes, durability, &saved.file);
    Remember(path, std::move(saved));
    return status;
}

LSTATUS ReadSavedKeyFile(const std::string& path, std::vector<std::uint8_t>* bytes) {
    bytes->clear();
    if (path.empty()) {
        return ERROR_INVALID_PARAMETER;
    }
    if (const std::optional<SavedFile> saved = Forget(path)) {
        if (!saved->file.Valid()) {
            return ERROR_FILE_NOT_FOUND;  // this process's last save there failed
        }
        const LSTATUS status = ReadOwnFile(path, *saved, bytes);
        if (status != ERROR_SUCCESS) {
            bytes->clear();
        }
        return status;
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
