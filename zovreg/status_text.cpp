#include "zovreg/status_text.h"

#include "platform/format.h"
#include "platform/win32/registry.h"

namespace zov::reg {
namespace {

const char* StatusWords(LSTATUS status) {
    switch (status) {
        case ERROR_FILE_NOT_FOUND:
            return "the key or value does not exist";
        case ERROR_ACCESS_DENIED:
            return "access denied";
        case ERROR_INVALID_HANDLE:
            return "invalid handle";
        case ERROR_NOT_ENOUGH_MEMORY:
            return "not enough memory";
        case ERROR_INVALID_PARAMETER:
            return "invalid name or data";
        case ERROR_BAD_PATHNAME:
            return "bad key path";
        case ERROR_BUSY:
            return "the registry is busy";
        case ERROR_KEY_DELETED:
            return "the key was deleted meanwhile";
        case ERROR_BADDB:
        case ERROR_REGISTRY_CORRUPT:
        case ERROR_NOT_REGISTRY_FILE:
            return "the registry database is damaged or not a registry";
        case ERROR_CANTOPEN:
        case ERROR_CANTREAD:
        case ERROR_CANTWRITE:
        case ERROR_REGISTRY_IO_FAILED:
        case ERROR_WRITE_FAULT:
        case ERROR_READ_FAULT:
            return "the registry database could not be read or written";
        case ERROR_DISK_FULL:
            return "the disk is full";
        default:
            return "registry failure";
    }
}

}  // namespace

std::string DescribeRegistryStatus(LSTATUS status) {
    std::string text =
        FormatText("%s (status %ld)", StatusWords(status), static_cast<long>(status));
    // These statuses are about a key or a name, never about the database file, so a diagnostic
    // left by an earlier call does not belong to them.
    const bool about_a_key = status == ERROR_FILE_NOT_FOUND || status == ERROR_INVALID_PARAMETER ||
                             status == ERROR_BAD_PATHNAME || status == ERROR_KEY_DELETED;
    const std::string diagnostic = ZovRegistryDiagnostic();
    if (!about_a_key && !diagnostic.empty()) {
        text += ": " + diagnostic;
    }
    return text;
}

}  // namespace zov::reg
