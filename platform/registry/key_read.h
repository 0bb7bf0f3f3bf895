// The frame every read of one key's contents shares: a live handle with the right asked for, one
// read call, a key that still exists; then the read itself on the store.
#pragma once

#include <mutex>

#include "platform/registry/opened_key.h"
#include "platform/registry/registry_call.h"
#include "platform/registry/registry_connection.h"
#include "platform/registry/registry_store.h"
#include "platform/win32/registry.h"

namespace zov {

// Runs read(store, keyId) for the key of hKey and returns its status. A registry that does not
// exist yet holds nothing: the read is skipped and whenEmpty is the answer.
template <typename Read>
LSTATUS ReadKey(HKEY hKey, REGSAM right, LSTATUS whenEmpty, Read read) {
    std::lock_guard lock(RegistryConnection::Instance().Mutex());
    OpenedKey key;
    LSTATUS status = ResolveAuthorizedKey(hKey, right, &key);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    RegistryCall call(RegistryCall::Kind::kRead);
    status = call.StatusOn(key);
    if (status == ERROR_SUCCESS) {
        status = call.Db() == nullptr ? whenEmpty : read(RegistryStore(call.Db()), key.id);
    }
    return call.Finish(status);
}

}  // namespace zov
