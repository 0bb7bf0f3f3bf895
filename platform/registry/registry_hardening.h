// What a connection to the registry database allows a hostile file to do: nothing beyond reading
// the tables. Triggers and views never run, the schema is never trusted, SQL cannot write the
// schema itself, no statement runs unbounded, and no string or blob is larger than one value of
// the registry may be.
#pragma once

#include <sqlite3.h>

#include <string>

#include "platform/win32/registry.h"

namespace zov {

// Virtual-machine steps one statement may take before it is interrupted (SQLITE_INTERRUPT).
// Every statement of the registry works on one key and stays far below.
inline constexpr long long kStatementStepLimit = 30'000'000;

// Sets every limit and switch on db and reads each back; a connection on which any of them did
// not take is refused (ERROR_CANTOPEN, with a diagnostic for path) and must be closed.
LSTATUS HardenRegistryConnection(sqlite3* db, const std::string& path);

}  // namespace zov
