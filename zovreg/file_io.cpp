#include "zovreg/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/format.h"

namespace zov::reg {
namespace {

std::string Failure(const char* what, const std::string& path, int error_number) {
    return FormatText("cannot %s %s: %s", what, path.c_str(), std::strerror(error_number));
}

// Closes the descriptor when the scope ends.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now, reporting the result, so that a failed close (a full disk over NFS) is seen.
    int Close() {
        const int result = close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* error) {
    bytes->clear();
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        *error = Failure("open", path, errno);
        return false;
    }
    struct stat info {};
    if (fstat(file.Get(), &info) != 0) {
        *error = Failure("read", path, errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        *error = Failure("read", path, EISDIR);
        return false;
    }
    std::string chunk(1 << 16, '\0');
    while (true) {
        const ssize_t got = read(file.Get(), chunk.data(), chunk.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            *error = Failure("read", path, errno);
            return false;
        }
        if (got == 0) {
            return true;
        }
        if (bytes->size() + static_cast<std::size_t>(got) > kMaxRegFileSize) {
            *error = FormatText("%s is larger than %zu MiB", path.c_str(), kMaxRegFileSize >> 20);
            return false;
        }
        bytes->append(chunk.data(), static_cast<std::size_t>(got));
    }
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
    const std::size_t slash = path.rfind('/');
    const std::string directory =
        slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.empty()) {
        *error = FormatText("cannot write %s: not a file name", path.c_str());
        return false;
    }
    std::string temporary = directory + "/." + base + ".XXXXXX";
    FileDescriptor file(mkostemp(temporary.data(), O_CLOEXEC));
    if (file.Get() < 0) {
        *error = Failure("create a temporary file in", directory, errno);
        return false;
    }
    const bool written = WriteAll(file.Get(), bytes) && fchmod(file.Get(), NewFileMode()) == 0 &&
                         fsync(file.Get()) == 0;
    const int write_error = errno;
    if (file.Close() != 0 || !written) {
        const int reason = written ? errno : write_error;
        unlink(temporary.c_str());
        *error = Failure("write", temporary, reason);
        return false;
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        const int reason = errno;
        unlink(temporary.c_str());
        *error = Failure("replace", path, reason);
        return false;
    }
    return true;
}

}  // namespace zov::reg
