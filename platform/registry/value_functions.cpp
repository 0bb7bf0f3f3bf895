// RegQueryValueExA, RegSetValueExA and RegDeleteValueA.
#include <cstring>
#include <mutex>
#include <string>

#include "platform/registry/key_name.h"
#include "platform/registry/key_read.h"
#include "platform/registry/opened_key.h"
#include "platform/registry/registry_call.h"
#include "platform/registry/registry_connection.h"
#include "platform/registry/registry_store.h"
#include "platform/registry/saved_key_format.h"
#include "platform/win32/registry.h"

using zov::OpenedKey;
using zov::RegistryCall;
using zov::RegistryConnection;
using zov::RegistryStore;

LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                         LPBYTE lpData, LPDWORD lpcbData) {
    if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    zov::RegistryValue value;
    const LSTATUS status = zov::ReadKey(
        hKey, KEY_QUERY_VALUE, ERROR_FILE_NOT_FOUND, [&](RegistryStore store, std::int64_t id) {
            return store.GetValue(id, lpValueName != nullptr ? lpValueName : "", &value);
        });
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (lpType != nullptr) {
        *lpType = value.type;
    }
    const auto size = static_cast<DWORD>(value.data.size());
    if (lpData != nullptr && size > *lpcbData) {
        *lpcbData = size;
        return ERROR_MORE_DATA;  // the caller's buffer is left as it was
    }
    if (lpData != nullptr && size > 0) {
        std::memcpy(lpData, value.data.data(), size);
    }
    if (lpcbData != nullptr) {
        *lpcbData = size;
    }
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD /*Reserved*/, DWORD dwType,
                       const BYTE* lpData, DWORD cbData) {
    const std::string name = lpValueName != nullptr ? lpValueName : "";
    if ((lpData == nullptr && cbData != 0) || zov::NameLength(name) > zov::kMaxValueNameLength ||
        cbData > zov::kMaxValueDataSize) {
        return ERROR_INVALID_PARAMETER;
    }
    std::lock_guard lock(RegistryConnection::Instance().Mutex());
    OpenedKey key;
    LSTATUS status = zov::ResolveAuthorizedKey(hKey, KEY_SET_VALUE, &key);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    RegistryCall call(RegistryCall::Kind::kWrite);
    status = call.StatusOn(key);
    if (status == ERROR_SUCCESS) {
        status = RegistryStore(call.Db()).SetValue(key.id, name, dwType, lpData, cbData);
    }
    return call.Finish(status);
}

LSTATUS RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
    std::lock_guard lock(RegistryConnection::Instance().Mutex());
    OpenedKey key;
    LSTATUS status = zov::ResolveAuthorizedKey(hKey, KEY_SET_VALUE, &key);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    RegistryCall call(RegistryCall::Kind::kChangeExisting);
    status = call.StatusOn(key);
    if (status == ERROR_SUCCESS) {
        status = call.Db() == nullptr ? static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND)
                                      : RegistryStore(call.Db()).DeleteValue(
                                            key.id, lpValueName != nullptr ? lpValueName : "");
    }
    return call.Finish(status);
}
