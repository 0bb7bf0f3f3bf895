// How a failure of the registry database reaches the caller: a Win32 status, and for failures of
// the file itself the diagnostic line "<path>: <reason>" that ZovRegistryDiagnostic returns.
#pragma once

#include <sqlite3.h>

#include <string>

#include "platform/win32/registry.h"

namespace zov {

// Sets the diagnostic line for the database at path and returns status.
LSTATUS RefuseRegistry(LSTATUS status, const std::string& path, const std::string& reason);

// The status for an errno of opening or creating the database or its directory (the platform's
// one mapping, with ERROR_CANTOPEN for what it has no closer status for).
LSTATUS RegistryStatusFromErrno(int error);

// Maps an SQLite result of db (which may be null) to a Win32 status; failures of the database
// itself also set the diagnostic line.
LSTATUS RegistryStatusFromSqlite(sqlite3* db, int rc, const std::string& path);

}  // namespace zov
