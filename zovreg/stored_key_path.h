// The path of a key as the registry spells it, whatever case it was typed in, so that the same
// registry always exports and prints the same.
#pragma once

#include <string>

#include "platform/win32/registry.h"
#include "platform/win32/scoped_key.h"

namespace zov::reg {

// *stored receives subpath (below HKEY_LOCAL_MACHINE) with each name as stored;
// ERROR_FILE_NOT_FOUND when a key on the way does not exist.
LSTATUS StoredKeyPath(const std::string& subpath, std::string* stored);

// Opens subpath for reading into *key, with *stored as above.
LSTATUS OpenStoredKey(const std::string& subpath, std::string* stored, ScopedKey* key);

}  // namespace zov::reg
