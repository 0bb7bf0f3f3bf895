// Copies a key of the registry into memory through the Win32 registry calls.
#pragma once

#include <string>

#include "platform/win32/registry.h"
#include "zovreg/key_snapshot.h"

namespace zov::reg {

// Reads the key at subpath below HKEY_LOCAL_MACHINE with its values. With recursive, its
// subkeys come with their whole subtrees; without, only their paths. Paths in the snapshot carry
// the names as the registry stores them, whatever case subpath was written in, so that the same
// registry always reads the same. Run it in a RegistryTransaction for one consistent snapshot.
LSTATUS ReadKeySnapshot(const std::string& subpath, bool recursive, KeySnapshot* snapshot);

}  // namespace zov::reg
