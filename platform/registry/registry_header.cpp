#include "platform/registry/registry_header.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/format.h"
#include "platform/posix_file.h"
#include "platform/registry/registry_failure.h"
#include "platform/registry/registry_schema.h"

namespace zov {
namespace {

constexpr std::size_t kSqliteHeaderSize = 100;
constexpr const char kSqliteMagic[] = "SQLite format 3";

std::uint32_t BigEndian32(const unsigned char* bytes) {
    return (static_cast<std::uint32_t>(bytes[0]) << 24) |
           (static_cast<std::uint32_t>(bytes[1]) << 16) |
           (static_cast<std::uint32_t>(bytes[2]) << 8) | static_cast<std::uint32_t>(bytes[3]);
}

}  // namespace

LSTATUS CheckRegistryHeader(const std::string& path, bool* empty_file) {
    *empty_file = false;
    const UniqueFd file(
        open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW));
    if (!file.Valid()) {
        const int error = errno;
        if (error == ELOOP) {
            return RefuseRegistry(ERROR_BADDB, path,
                                  "it is a symbolic link, which the registry never follows; it "
                                  "was left untouched");
        }
        return RefuseRegistry(RegistryStatusFromErrno(error), path,
                              FormatText("cannot open (%s)", std::strerror(error)));
    }
    struct stat info {};
    if (fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return RefuseRegistry(ERROR_BADDB, path,
                              "not a zovcfg registry (not a regular file); it was left untouched");
    }
    if (info.st_size == 0) {
        *empty_file = true;
        return ERROR_SUCCESS;
    }
    std::array<unsigned char, kSqliteHeaderSize> header{};
    const ssize_t got = ReadAll(file.Get(), header.data(), header.size());
    if (got != static_cast<ssize_t>(header.size()) ||
        std::memcmp(header.data(), kSqliteMagic, sizeof kSqliteMagic) != 0) {
        return RefuseRegistry(
            ERROR_BADDB, path,
            "not a zovcfg registry (not an SQLite database); it was left untouched");
    }
    if (BigEndian32(header.data() + 68) != static_cast<std::uint32_t>(kRegistryApplicationId)) {
        return RefuseRegistry(
            ERROR_BADDB, path,
            "not a zovcfg registry (foreign SQLite database); it was left untouched");
    }
    const std::uint32_t version = BigEndian32(header.data() + 60);
    if (version > static_cast<std::uint32_t>(kRegistrySchemaVersion)) {
        return RefuseRegistry(ERROR_BADDB, path,
                              FormatText("the registry has layout version %u, newer than this "
                                         "program knows (%d); it was left untouched",
                                         version, kRegistrySchemaVersion));
    }
    if (version < 1) {
        return RefuseRegistry(ERROR_BADDB, path,
                              "the registry is damaged (no layout version); it was left untouched");
    }
    // Bytes 18 and 19 are 2 in write-ahead-log mode, which readers without write permission
    // cannot read; this registry always uses the rollback journal.
    if (header[18] != 1 || header[19] != 1) {
        return RefuseRegistry(
            ERROR_BADDB, path,
            "the registry is not in rollback-journal mode; it was left untouched");
    }
    return ERROR_SUCCESS;
}

}  // namespace zov
