#include "platform/registry/registry_failure.h"

#include "platform/format.h"
#include "platform/kernel/win32_error_from_errno.h"
#include "platform/registry/registry_diagnostic.h"

namespace zov {

LSTATUS RefuseRegistry(LSTATUS status, const std::string& path, const std::string& reason) {
    SetRegistryDiagnostic(FormatText("%s: %s", path.c_str(), reason.c_str()));
    return status;
}

LSTATUS RegistryStatusFromErrno(int error) {
    return static_cast<LSTATUS>(Win32ErrorFromErrno(error, ERROR_CANTOPEN));
}

LSTATUS RegistryStatusFromSqlite(sqlite3* db, int rc, const std::string& path) {
    const char* message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    switch (rc & 0xff) {
        case SQLITE_OK:
        case SQLITE_DONE:
        case SQLITE_ROW:
            return ERROR_SUCCESS;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
        case SQLITE_FORMAT:
            return RefuseRegistry(
                ERROR_BADDB, path,
                FormatText("the registry is damaged (%s); it was left untouched", message));
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return RefuseRegistry(ERROR_ACCESS_DENIED, path,
                                  FormatText("the registry cannot be changed (%s)", message));
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return RefuseRegistry(
                ERROR_BUSY, path,
                FormatText("the registry stayed locked by another process (%s)", message));
        case SQLITE_FULL:
            return RefuseRegistry(ERROR_DISK_FULL, path,
                                  FormatText("the disk is full (%s)", message));
        case SQLITE_NOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case SQLITE_CANTOPEN:
            return RefuseRegistry(ERROR_CANTOPEN, path,
                                  FormatText("cannot open the registry (%s)", message));
        case SQLITE_TOOBIG:
            // Writes check their sizes first: only the file can hold something this large.
            return RefuseRegistry(ERROR_BADDB, path,
                                  "the registry holds an entry larger than a registry value may "
                                  "be; it was left untouched");
        case SQLITE_INTERRUPT:
            return RefuseRegistry(ERROR_BADDB, path,
                                  "a query of the registry ran far longer than any should; the "
                                  "file may be damaged or hostile; it was left untouched");
        default:
            return RefuseRegistry(
                ERROR_REGISTRY_IO_FAILED, path,
                FormatText("reading or writing the registry failed (%s)", message));
    }
}

}  // namespace zov
