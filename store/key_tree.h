// Deleting a key together with everything below it.
#pragma once

#include <string>

#include "platform/win32/registry.h"

namespace zov {

// Deletes the subkey `name` of `parent` with its whole subtree, deepest keys first, whatever the
// subkeys are named. A missing key is ERROR_FILE_NOT_FOUND; any other failure is returned as the
// status of the call that failed (keys deleted before it stay deleted: run it in a transaction).
LSTATUS DeleteKeyTree(HKEY parent, const std::string& name);

}  // namespace zov
