// The registry database of this process: which file is HKEY_LOCAL_MACHINE, and a way to let go
// of it so that the next registry call reads ZOVCFG_REGISTRY again (tests switch databases).
#pragma once

#include <string>

namespace zov {

// The database file in use, or the one the next registry call will use: $ZOVCFG_REGISTRY, or
// /var/lib/zovcfg/registry.db when that is unset or empty.
std::string RegistryDatabasePath();

// Closes the process's connection to the registry database (rolling back any transaction still
// open) and forgets its path. Handles opened before answer ERROR_KEY_DELETED afterwards, except
// handles to the root, which then refer to the root of the next database.
void CloseRegistryDatabase();

}  // namespace zov
