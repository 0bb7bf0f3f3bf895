// RegEnumKeyExA and RegEnumValueA.
#include <cstring>
#include <mutex>
#include <string>

#include "platform/registry/opened_key.h"
#include "platform/registry/registry_call.h"
#include "platform/registry/registry_connection.h"
#include "platform/registry/registry_store.h"
#include "platform/win32.h"

using zov::OpenedKey;
using zov::RegistryCall;
using zov::RegistryConnection;
using zov::RegistryStore;

namespace {

// Copies text with its terminating zero into a buffer of *count characters; ERROR_MORE_DATA,
// copying nothing, when it does not fit. On success *count is the length without the zero.
LSTATUS CopyName(const std::string& text, LPSTR buffer, LPDWORD count) {
    if (text.size() + 1 > *count) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    *count = static_cast<DWORD>(text.size());
    return ERROR_SUCCESS;
}

}  // namespace

LSTATUS RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                      LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
    if (lpName == nullptr || lpcchName == nullptr || lpReserved != nullptr ||
        (lpClass != nullptr && lpcchClass == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::lock_guard lock(RegistryConnection::Instance().Mutex());
    OpenedKey key;
    LSTATUS status = zov::ResolveKeyHandle(hKey, &key);
    if (status == ERROR_SUCCESS) {
        status = zov::AuthorizeKey(key, KEY_ENUMERATE_SUB_KEYS);
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    RegistryCall call(RegistryCall::Kind::kRead);
    status = call.Status();
    if (status == ERROR_SUCCESS) {
        status = zov::CheckKeyAlive(call.Db(), key);
    }
    std::string name;
    std::int64_t last_write = 0;
    if (status == ERROR_SUCCESS) {
        status = call.Db() == nullptr
                     ? static_cast<LSTATUS>(ERROR_NO_MORE_ITEMS)
                     : RegistryStore(call.Db()).SubkeyAt(key.id, dwIndex, &name, &last_write);
    }
    status = call.Finish(status);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    // Keys have no class here: the class is always empty.
    if (lpClass != nullptr && *lpcchClass < 1) {
        return ERROR_MORE_DATA;
    }
    status = CopyName(name, lpName, lpcchName);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (lpClass != nullptr) {
        lpClass[0] = '\0';
        *lpcchClass = 0;
    }
    if (lpftLastWriteTime != nullptr) {
        const auto time = static_cast<std::uint64_t>(last_write);
        lpftLastWriteTime->dwLowDateTime = static_cast<DWORD>(time & 0xFFFFFFFFU);
        lpftLastWriteTime->dwHighDateTime = static_cast<DWORD>(time >> 32);
    }
    return ERROR_SUCCESS;
}

LSTATUS RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName,
                      LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    if (lpValueName == nullptr || lpcchValueName == nullptr || lpReserved != nullptr ||
        (lpData != nullptr && lpcbData == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::lock_guard lock(RegistryConnection::Instance().Mutex());
    OpenedKey key;
    LSTATUS status = zov::ResolveKeyHandle(hKey, &key);
    if (status == ERROR_SUCCESS) {
        status = zov::AuthorizeKey(key, KEY_QUERY_VALUE);
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    RegistryCall call(RegistryCall::Kind::kRead);
    status = call.Status();
    if (status == ERROR_SUCCESS) {
        status = zov::CheckKeyAlive(call.Db(), key);
    }
    zov::RegistryValue value;
    if (status == ERROR_SUCCESS) {
        status = call.Db() == nullptr ? static_cast<LSTATUS>(ERROR_NO_MORE_ITEMS)
                                      : RegistryStore(call.Db()).ValueAt(key.id, dwIndex, &value);
    }
    status = call.Finish(status);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status = CopyName(value.name, lpValueName, lpcchValueName);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (lpType != nullptr) {
        *lpType = value.type;
    }
    const auto size = static_cast<DWORD>(value.data.size());
    if (lpData != nullptr && size > *lpcbData) {
        *lpcbData = size;
        return ERROR_MORE_DATA;
    }
    if (lpData != nullptr && size > 0) {
        std::memcpy(lpData, value.data.data(), size);
    }
    if (lpcbData != nullptr) {
        *lpcbData = size;
    }
    return ERROR_SUCCESS;
}
