// Checking that an open database holds the registry's layout, and laying it out in a new one.
#pragma once

#include <sqlite3.h>

#include <string>

#include "platform/win32/registry.h"

namespace zov {

// *present is false for a database with no objects at all (the first write lays the registry
// out); a database of anything else is refused with a diagnostic for path.
LSTATUS CheckRegistryLayout(sqlite3* db, const std::string& path, bool* present);

// Lays the registry out in an empty database, inside the caller's transaction if one is open;
// a database that another process has laid out meanwhile is checked instead.
LSTATUS InitializeRegistryLayout(sqlite3* db, const std::string& path);

}  // namespace zov
