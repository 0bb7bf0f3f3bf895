// What the file system lets this process do with the registry database, decided the way the
// kernel will decide it (effective ids), so that a refusal comes with the file and the reason.
#pragma once

#include <string>

#include "platform/win32/registry.h"

namespace zov {

// Read permission on the file; for writing also write permission on the file and its directory
// (the rollback journal is created beside it). For a missing file, reading is allowed and writing
// needs write permission on the nearest existing directory that would hold it.
LSTATUS CheckRegistryFileAccess(const std::string& path, bool for_writing);

}  // namespace zov
