// Deleting a key with everything below it, through RegDeleteKeyA, which only deletes leaves.
#pragma once

#include <string>

#include "platform/win32/registry.h"

namespace zov::reg {

// Deletes the key at subpath below HKEY_LOCAL_MACHINE and its whole subtree, deepest keys first.
// ERROR_FILE_NOT_FOUND when it does not exist; any other failure is the status of the call that
// failed, with the keys deleted before it gone: run it in a RegistryTransaction.
LSTATUS DeleteKeyTree(const std::string& subpath);

}  // namespace zov::reg
