// RegOpenKeyExA, RegCreateKeyExA, RegDeleteKeyA and RegCloseKey.
#include <mutex>
#include <string>
#include <vector>

#include "platform/registry/key_handle_table.h"
#include "platform/registry/key_name.h"
#include "platform/registry/opened_key.h"
#include "platform/registry/registry_call.h"
#include "platform/registry/registry_connection.h"
#include "platform/registry/registry_schema.h"
#include "platform/registry/registry_store.h"
#include "platform/win32/registry.h"

using zov::OpenedKey;
using zov::RegistryCall;
using zov::RegistryConnection;
using zov::RegistryStore;

namespace {

// The file permission a new handle with these rights needs: read always, write for any right
// that changes the registry.
LSTATUS CheckRightsAgainstFile(REGSAM desired) {
    return RegistryConnection::Instance().CheckFileAccess((desired & zov::kKeyWriteRights) != 0);
}

// The key a handle names and the names of the path below it.
LSTATUS ResolveKeyPath(HKEY handle, const char* path, OpenedKey* key,
                       std::vector<std::string>* names) {
    const LSTATUS status = zov::ResolveKeyHandle(handle, key);
    return status != ERROR_SUCCESS ? status : zov::SplitKeyPath(path, names);
}

HKEY AddHandle(std::int64_t key, REGSAM desired) {
    return zov::KeyHandleTable::Instance().Add(
        zov::KeyHandleEntry{key, desired, RegistryConnection::Instance().Generation()});
}

}  // namespace

LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired,
                      PHKEY phkResult) {
    if (phkResult == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *phkResult = nullptr;
    std::lock_guard lock(RegistryConnection::Instance().Mutex());
    OpenedKey parent;
    std::vector<std::string> names;
    LSTATUS status = ResolveKeyPath(hKey, lpSubKey != nullptr ? lpSubKey : "", &parent, &names);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status = CheckRightsAgainstFile(samDesired);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    RegistryCall call(RegistryCall::Kind::kRead);
    status = call.StatusOn(parent);
    std::int64_t found = parent.id;
    if (status == ERROR_SUCCESS && !names.empty()) {
        status = call.Db() == nullptr ? static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND)
                                      : RegistryStore(call.Db()).FindPath(parent.id, names, &found);
    }
    status = call.Finish(status);
    if (status == ERROR_SUCCESS) {
        *phkResult = AddHandle(found, samDesired);
    }
    return status;
}

LSTATUS RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*Reserved*/, LPSTR /*lpClass*/,
                        DWORD dwOptions, REGSAM samDesired,
                        const SECURITY_ATTRIBUTES* /*lpSecurityAttributes*/, PHKEY phkResult,
                        LPDWORD lpdwDisposition) {
    if (phkResult == nullptr || lpSubKey == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *phkResult = nullptr;
    // Volatile keys and links have no meaning in a registry kept in one file.
    if ((dwOptions & ~static_cast<DWORD>(REG_OPTION_BACKUP_RESTORE)) != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    std::lock_guard lock(RegistryConnection::Instance().Mutex());
    OpenedKey parent;
    std::vector<std::string> names;
    LSTATUS status = ResolveKeyPath(hKey, lpSubKey, &parent, &names);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status = zov::AuthorizeKey(parent, KEY_CREATE_SUB_KEY);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status = CheckRightsAgainstFile(samDesired);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    RegistryCall call(RegistryCall::Kind::kWrite);
    status = call.StatusOn(parent);
    std::int64_t current = parent.id;
    bool created = false;
    if (status == ERROR_SUCCESS) {
        RegistryStore store(call.Db());
        for (const std::string& name : names) {
            status = store.FindSubkey(current, name, &current);
            if (status == ERROR_FILE_NOT_FOUND) {
                status = store.CreateSubkey(current, name, &current);
                created = true;
            }
            if (status != ERROR_SUCCESS) {
                break;
            }
        }
    }
    status = call.Finish(status);
    if (status == ERROR_SUCCESS) {
        *phkResult = AddHandle(current, samDesired);
        if (lpdwDisposition != nullptr) {
            *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        }
    }
    return status;
}

LSTATUS RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
    if (lpSubKey == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    std::lock_guard lock(RegistryConnection::Instance().Mutex());
    OpenedKey parent;
    std::vector<std::string> names;
    LSTATUS status = ResolveKeyPath(hKey, lpSubKey, &parent, &names);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    // Windows opens the doomed key for DELETE, which its security decides, whatever rights the
    // handle it is named through has; here that security is write permission on the database.
    status = RegistryConnection::Instance().CheckFileAccess(true);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    RegistryCall call(RegistryCall::Kind::kChangeExisting);
    status = call.StatusOn(parent);
    if (status == ERROR_SUCCESS && call.Db() == nullptr) {
        status = names.empty() ? static_cast<LSTATUS>(ERROR_ACCESS_DENIED) : ERROR_FILE_NOT_FOUND;
    } else if (status == ERROR_SUCCESS) {
        RegistryStore store(call.Db());
        std::int64_t target = parent.id;
        status = store.FindPath(parent.id, names, &target);
        bool has_subkeys = false;
        if (status == ERROR_SUCCESS && target == zov::kRootKeyId) {
            status = ERROR_ACCESS_DENIED;
        }
        if (status == ERROR_SUCCESS) {
            status = store.HasSubkeys(target, &has_subkeys);
        }
        if (status == ERROR_SUCCESS && has_subkeys) {
            status = ERROR_ACCESS_DENIED;
        }
        if (status == ERROR_SUCCESS) {
            status = store.DeleteKey(target);
        }
    }
    return call.Finish(status);
}

LSTATUS RegCloseKey(HKEY hKey) {
    if (zov::IsPredefinedKey(hKey)) {
        return ERROR_SUCCESS;  // predefined keys are never really open
    }
    std::lock_guard lock(RegistryConnection::Instance().Mutex());
    return zov::KeyHandleTable::Instance().Remove(hKey) ? static_cast<LSTATUS>(ERROR_SUCCESS)
                                                        : ERROR_INVALID_HANDLE;
}
