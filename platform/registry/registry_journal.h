// A rollback journal left beside the database is replayed into it by the next process that reads
// it. Only a journal that nobody outside the registry's trust could have written is let through:
// its owner is root, the database's owner or a member of the database's group that may write the
// database anyway, and nobody else may write it (group write only for the database's own group).
#pragma once

#include <string>

#include "platform/win32/registry.h"

namespace zov {

// The journal SQLite uses for the database at path.
std::string RegistryJournalPath(const std::string& path);

// ERROR_SUCCESS when there is no journal, an empty one, or one that passes the rule above;
// otherwise ERROR_ACCESS_DENIED with a diagnostic, and SQLite must not open the database.
LSTATUS CheckRegistryJournal(const std::string& path);

}  // namespace zov
