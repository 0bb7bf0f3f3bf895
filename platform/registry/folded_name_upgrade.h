// Brings the folded names of a registry made by an older version up to the current name rules.
#pragma once

#include <sqlite3.h>

#include <string>

#include "platform/win32/base.h"

namespace zov {

// Layout version 1 folded ASCII letters only; version 2 folds every character (key_name.h).
// The tables are the same, so the upgrade recomputes the folded column of every key and value
// in one immediate transaction and sets the new version; a registry at the current version is
// left alone. When two names of one key become the same name under the new rule, nothing is
// changed and *conflict names them: a registry cannot hold both.
LSTATUS UpgradeFoldedNames(sqlite3* db, std::string* conflict);

}  // namespace zov
