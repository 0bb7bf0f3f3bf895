#include "platform/registry/opened_key.h"

#include "platform/registry/key_handle_table.h"
#include "platform/registry/registry_connection.h"
#include "platform/registry/registry_diagnostic.h"
#include "platform/registry/registry_schema.h"

namespace zov {

bool IsPredefinedKey(HKEY handle) {
    // HKEY_CLASSES_ROOT (0x80000000) up to HKEY_CURRENT_USER_LOCAL_SETTINGS (0x80000007),
    // sign-extended as Windows defines them.
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    const auto first = reinterpret_cast<std::uintptr_t>(HKEY_CLASSES_ROOT);
    return value >= first && value <= first + 7;
}

LSTATUS ResolveKeyHandle(HKEY handle, OpenedKey* key) {
    if (handle == HKEY_LOCAL_MACHINE) {
        *key = OpenedKey{kRootKeyId, KEY_ALL_ACCESS, true};
        return ERROR_SUCCESS;
    }
    KeyHandleEntry entry;
    if (!KeyHandleTable::Instance().Find(handle, &entry)) {
        if (IsPredefinedKey(handle)) {
            SetRegistryDiagnostic("only HKEY_LOCAL_MACHINE exists in this registry");
        }
        return ERROR_INVALID_HANDLE;
    }
    if (entry.generation != RegistryConnection::Instance().Generation() &&
        entry.key_id != kRootKeyId) {
        return ERROR_KEY_DELETED;
    }
    *key = OpenedKey{entry.key_id, entry.access, false};
    return ERROR_SUCCESS;
}

LSTATUS AuthorizeKey(const OpenedKey& key, REGSAM rights) {
    if (key.predefined) {
        return RegistryConnection::Instance().CheckFileAccess((rights & kKeyWriteRights) != 0);
    }
    return (key.access & rights) == rights ? static_cast<LSTATUS>(ERROR_SUCCESS)
                                           : ERROR_ACCESS_DENIED;
}

LSTATUS ResolveAuthorizedKey(HKEY handle, REGSAM rights, OpenedKey* key) {
    const LSTATUS status = ResolveKeyHandle(handle, key);
    return status != ERROR_SUCCESS ? status : AuthorizeKey(*key, rights);
}

LSTATUS CheckKeyAlive(sqlite3* db, const OpenedKey& key) {
    if (db == nullptr) {
        return key.id == kRootKeyId ? static_cast<LSTATUS>(ERROR_SUCCESS) : ERROR_KEY_DELETED;
    }
    return RegistryStore(db).CheckKeyAlive(key.id);
}

}  // namespace zov
