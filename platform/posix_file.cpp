#include "platform/posix_file.h"

#include <unistd.h>

namespace zov {

int UniqueFd::Close() {
    if (fd_ < 0) {
        return 0;
    }
    // Not retried on EINTR: Linux has released the descriptor whatever close reports.
    const int result = close(fd_);
    fd_ = -1;
    return result;
}

ssize_t ReadAll(int fd, void* buffer, std::size_t size) {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = RetryOnInterrupt([&] { return read(fd, bytes + got, size - got); });
        if (n < 0) {
            return -1;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    std::size_t sent = 0;
    while (sent < size) {
        const ssize_t n = RetryOnInterrupt([&] { return write(fd, bytes + sent, size - sent); });
        if (n < 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

std::string DirectoryOf(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') {
        trimmed.pop_back();
    }
    const std::string::size_type slash = trimmed.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : trimmed.substr(0, slash);
}

}  // namespace zov
