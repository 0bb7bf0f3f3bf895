#include "zovreg/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/format.h"
#include "platform/posix_file.h"

namespace zov::reg {
namespace {

constexpr std::size_t kPieceSize = 1 << 16;

std::string Failure(const char* what, const std::string& path, int error_number) {
    return FormatText("cannot %s %s: %s", what, path.c_str(), std::strerror(error_number));
}

mode_t ModeFor(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        return info.st_mode & 07777;
    }
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool OpenFileSource(const std::string& path, ByteSource* source, std::string* error) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *error = Failure("open", path, errno);
        return false;
    }
    // Closed when the last copy of the source ends.
    auto file = std::make_shared<UniqueFd>(fd);
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        *error = Failure("read", path, errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        *error = Failure("read", path, EISDIR);
        return false;
    }
    *source = [file, path](std::string* piece, std::string* read_error) {
        piece->resize(kPieceSize);
        const ssize_t got = ReadAll(file->Get(), piece->data(), piece->size());
        if (got < 0) {
            *read_error = Failure("read", path, errno);
            return false;
        }
        piece->resize(static_cast<std::size_t>(got));
        return got > 0;
    };
    return true;
}

ByteSource StreamSource(std::istream& in, std::string shown_name) {
    return [&in, shown_name = std::move(shown_name)](std::string* piece, std::string* error) {
        piece->resize(kPieceSize);
        in.read(piece->data(), static_cast<std::streamsize>(piece->size()));
        piece->resize(static_cast<std::size_t>(in.gcount()));
        if (in.bad()) {
            *error = "cannot read " + shown_name;
            return false;
        }
        return !piece->empty();
    };
}

ByteSource StringSource(std::string_view bytes) {
    return [bytes](std::string* piece, std::string*) mutable {
        const std::size_t size = std::min(bytes.size(), kPieceSize);
        piece->assign(bytes.substr(0, size));
        bytes.remove_prefix(size);
        return size > 0;
    };
}

FileReplacement::~FileReplacement() {
    Abandon();
}

void FileReplacement::Abandon() {
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
        unlink(temporary_.c_str());
    }
}

bool FileReplacement::Open(std::string* error) {
    const std::size_t slash = path_.rfind('/');
    const std::string directory = DirectoryOf(path_);
    const std::string base = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    if (base.empty()) {
        *error = FormatText("cannot write %s: not a file name", path_.c_str());
        return false;
    }
    temporary_ = directory + "/." + base + ".XXXXXX";
    fd_ = mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        *error = Failure("create a temporary file in", directory, errno);
        return false;
    }
    if (fchmod(fd_, ModeFor(path_)) != 0) {
        *error = Failure("write", temporary_, errno);
        Abandon();
        return false;
    }
    return true;
}

bool FileReplacement::Write(std::string_view bytes, std::string* error) {
    if (!WriteAll(fd_, bytes.data(), bytes.size())) {
        *error = Failure("write", temporary_, errno);
        return false;
    }
    return true;
}

bool FileReplacement::Commit(std::string* error) {
    const bool synced = fsync(fd_) == 0;
    const int sync_error = errno;
    const int closed = close(fd_);
    const int close_error = errno;
    fd_ = -1;
    if (!synced || closed != 0) {
        unlink(temporary_.c_str());
        *error = Failure("write", temporary_, synced ? close_error : sync_error);
        return false;
    }
    if (rename(temporary_.c_str(), path_.c_str()) != 0) {
        const int reason = errno;
        unlink(temporary_.c_str());
        *error = Failure("replace", path_, reason);
        return false;
    }
    return true;
}

}  // namespace zov::reg
