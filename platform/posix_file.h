// POSIX file descriptors without the repetition: a descriptor that closes itself, whole reads and
// writes, the retry after an interrupting signal in one place, and the directory of a path.
#pragma once

#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <string>
#include <utility>

namespace zov {

// Repeats a system call for as long as a signal interrupts it (-1 with EINTR).
template <typename Call>
auto RetryOnInterrupt(Call call) {
    auto result = call();
    while (result < 0 && errno == EINTR) {
        result = call();
    }
    return result;
}

// An open descriptor with one owner, closed when the owner ends.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Close(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    // Closes now and reports close's result (0, or -1 with errno), so that a failed close (a
    // full disk over NFS) is seen; 0 when nothing was open.
    int Close();

  private:
    int fd_ = -1;
};

// Reads until size bytes are in buffer or the file ends: the number read, or -1 with errno.
ssize_t ReadAll(int fd, void* buffer, std::size_t size);

// Writes all size bytes: true, or false with errno.
bool WriteAll(int fd, const void* data, std::size_t size);

// The directory part of a path, trailing slashes ignored: "." for a bare name, "/" at the root.
std::string DirectoryOf(const std::string& path);

}  // namespace zov
