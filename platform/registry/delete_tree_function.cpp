// RegDeleteTreeA: a key's values and whole subtree in one call. Windows deletes key by key and
// may stop half-way; here the call is one transaction like every other.
#include <mutex>
#include <string>
#include <vector>

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

LSTATUS RegDeleteTreeA(HKEY hKey, LPCSTR lpSubKey) {
    std::lock_guard lock(RegistryConnection::Instance().Mutex());
    const bool own_key = lpSubKey == nullptr || *lpSubKey == '\0';
    OpenedKey parent;
    LSTATUS status = zov::ResolveKeyHandle(hKey, &parent);
    std::vector<std::string> names;
    if (status == ERROR_SUCCESS && !own_key) {
        status = zov::SplitKeyPath(lpSubKey, &names);
    }
    // Emptying the handle's own key needs these rights on the handle; a named subkey is opened
    // for them by the call itself, so there the database's permissions decide, as for
    // RegDeleteKeyA.
    if (status == ERROR_SUCCESS && own_key) {
        status = zov::AuthorizeKey(parent, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE);
    }
    if (status == ERROR_SUCCESS) {
        status = RegistryConnection::Instance().CheckFileAccess(true);
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    RegistryCall call(RegistryCall::Kind::kChangeExisting);
    status = call.StatusOn(parent);
    std::int64_t target = parent.id;
    if (status == ERROR_SUCCESS && call.Db() != nullptr) {
        status = RegistryStore(call.Db()).FindPath(parent.id, names, &target);
    } else if (status == ERROR_SUCCESS && !names.empty()) {
        status = ERROR_FILE_NOT_FOUND;  // no database yet: only the root exists
    }
    // HKEY_LOCAL_MACHINE itself is never deleted nor emptied at once.
    if (status == ERROR_SUCCESS && target == zov::kRootKeyId) {
        status = ERROR_ACCESS_DENIED;
    }
    if (status == ERROR_SUCCESS) {
        status = RegistryStore(call.Db()).DeleteTree(target, own_key);
    }
    return call.Finish(status);
}
