#include "zovreg/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/format.h"
#include "platform/posix_file.h"

namespace zov::reg {
namespace {

std::string Failure(const char* what, const std::string& path, int error_number) {
    return FormatText("cannot %s %s: %s", what, path.c_str(), std::strerror(error_number));
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* error) {
    bytes->clear();
    UniqueFd file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
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
        const ssize_t got = ReadAll(file.Get(), chunk.data(), chunk.size());
        if (got < 0) {
            *error = Failure("read", path, errno);
            return false;
        }
        if (bytes->size() + static_cast<std::size_t>(got) > kMaxRegFileSize) {
            *error = FormatText("%s is larger than %zu MiB", path.c_str(), kMaxRegFileSize >> 20);
            return false;
        }
        bytes->append(chunk.data(), static_cast<std::size_t>(got));
        if (static_cast<std::size_t>(got) < chunk.size()) {
            return true;  // the end of the file
        }
    }
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
    const std::size_t slash = path.rfind('/');
    const std::string directory = DirectoryOf(path);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.empty()) {
        *error = FormatText("cannot write %s: not a file name", path.c_str());
        return false;
    }
    std::string temporary = directory + "/." + base + ".XXXXXX";
    UniqueFd file(mkostemp(temporary.data(), O_CLOEXEC));
    if (file.Get() < 0) {
        *error = Failure("create a temporary file in", directory, errno);
        return false;
    }
    const bool written = WriteAll(file.Get(), bytes.data(), bytes.size()) &&
                         fchmod(file.Get(), NewFileMode()) == 0 && fsync(file.Get()) == 0;
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
