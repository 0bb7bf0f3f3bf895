// What a key handle stands for in a call: the key, the rights it was opened with, and the checks
// every registry call makes on it.
#pragma once

#include <cstdint>

#include "platform/registry/registry_store.h"
#include "platform/win32/registry.h"

namespace zov {

// The rights that change the registry; any of them needs write permission on the database.
inline constexpr REGSAM kKeyWriteRights =
    KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC | WRITE_OWNER;

struct OpenedKey {
    std::int64_t id = 0;
    REGSAM access = 0;
    bool predefined = false;  // HKEY_LOCAL_MACHINE itself: rights follow the file permissions
};

// ERROR_INVALID_HANDLE for anything that is not HKEY_LOCAL_MACHINE or a live handle (the other
// predefined keys have no hive here); ERROR_KEY_DELETED for a handle into a database that was
// closed since. Callers hold the registry mutex.
LSTATUS ResolveKeyHandle(HKEY handle, OpenedKey* key);

// ERROR_ACCESS_DENIED unless the handle may do what rights say.
LSTATUS AuthorizeKey(const OpenedKey& key, REGSAM rights);

// ResolveKeyHandle, then AuthorizeKey for rights.
LSTATUS ResolveAuthorizedKey(HKEY handle, REGSAM rights, OpenedKey* key);

// Inside a RegistryCall: ERROR_KEY_DELETED once the key is gone. db is the call's connection,
// null for a registry that does not exist yet, where only the root exists.
LSTATUS CheckKeyAlive(sqlite3* db, const OpenedKey& key);

bool IsPredefinedKey(HKEY handle);

}  // namespace zov
