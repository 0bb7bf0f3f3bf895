// RegSaveKeyA and RegRestoreKeyA.
#include <mutex>
#include <string>
#include <vector>

#include "platform/registry/key_tree.h"
#include "platform/registry/opened_key.h"
#include "platform/registry/registry_call.h"
#include "platform/registry/registry_connection.h"
#include "platform/registry/registry_store.h"
#include "platform/registry/saved_key_file.h"
#include "platform/registry/saved_key_format.h"
#include "platform/registry/transaction_state.h"
#include "platform/security/privileges.h"
#include "platform/win32/registry.h"

using zov::OpenedKey;
using zov::RegistryCall;
using zov::RegistryConnection;
using zov::RegistryStore;

LSTATUS RegSaveKeyA(HKEY hKey, LPCSTR lpFile, const SECURITY_ATTRIBUTES* /*lpSecurityAttributes*/) {
    if (lpFile == nullptr || *lpFile == '\0') {
        return ERROR_INVALID_PARAMETER;
    }
    std::vector<std::uint8_t> bytes;
    auto durability = zov::SavedKeyDurability::kSynced;
    {
        std::lock_guard lock(RegistryConnection::Instance().Mutex());
        // Inside a transaction the file is a step of a larger change (a key moved by saving and
        // restoring it) and is read back and deleted before the commit; syncing it would only
        // cost time. A save on its own is a backup and goes to disk.
        if (zov::TransactionState::Get().depth > 0) {
            durability = zov::SavedKeyDurability::kCached;
        }
        OpenedKey key;
        LSTATUS status = zov::ResolveKeyHandle(hKey, &key);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        if (!zov::IsPrivilegeEnabled(zov::Privilege::Backup)) {
            return ERROR_PRIVILEGE_NOT_HELD;
        }
        RegistryCall call(RegistryCall::Kind::kRead);
        status = call.StatusOn(key);
        zov::KeyTree tree;
        if (status == ERROR_SUCCESS && call.Db() != nullptr) {
            status = RegistryStore(call.Db()).LoadTree(key.id, &tree);
        }
        status = call.Finish(status);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        bytes = zov::EncodeSavedKey(tree);
    }
    if (bytes.size() > zov::kMaxSavedKeyFileSize) {
        return ERROR_NOT_ENOUGH_MEMORY;  // a restore would refuse the file
    }
    return zov::WriteSavedKeyFile(lpFile, bytes, durability);
}

LSTATUS RegRestoreKeyA(HKEY hKey, LPCSTR lpFile, DWORD dwFlags) {
    if (lpFile == nullptr || *lpFile == '\0' ||
        (dwFlags & ~static_cast<DWORD>(REG_FORCE_RESTORE)) != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    std::lock_guard lock(RegistryConnection::Instance().Mutex());
    OpenedKey key;
    LSTATUS status = zov::ResolveKeyHandle(hKey, &key);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (!zov::IsPrivilegeEnabled(zov::Privilege::Restore)) {
        return ERROR_PRIVILEGE_NOT_HELD;
    }
    // The whole file is read and checked before the registry is touched.
    std::vector<std::uint8_t> bytes;
    status = zov::ReadSavedKeyFile(lpFile, &bytes);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    zov::KeyTree tree;
    status = zov::DecodeSavedKey(bytes, &tree);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    bytes.clear();
    status = RegistryConnection::Instance().CheckFileAccess(true);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    // One transaction (a savepoint inside a RegistryTransaction): the key ends up with the
    // file's contents or keeps its own. Its former subkeys are gone for good, with their ids.
    RegistryCall call(RegistryCall::Kind::kWrite);
    status = call.StatusOn(key);
    if (status == ERROR_SUCCESS) {
        RegistryStore store(call.Db());
        status = store.ClearKey(key.id);
        if (status == ERROR_SUCCESS) {
            status = store.StoreTree(key.id, tree);
        }
    }
    return call.Finish(status);
}
