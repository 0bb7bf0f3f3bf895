// RegEnumKeyExA and RegEnumValueA.
#include <cstring>
#include <string>

#include "platform/registry/key_read.h"
#include "platform/registry/registry_store.h"
#include "platform/win32/registry.h"

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
    std::string name;
    std::int64_t last_write = 0;
    LSTATUS status = zov::ReadKey(hKey, KEY_ENUMERATE_SUB_KEYS, ERROR_NO_MORE_ITEMS,
                                  [&](RegistryStore store, std::int64_t id) {
                                      return store.SubkeyAt(id, dwIndex, &name, &last_write);
                                  });
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
    zov::RegistryValue value;
    LSTATUS status = zov::ReadKey(
        hKey, KEY_QUERY_VALUE, ERROR_NO_MORE_ITEMS,
        [&](RegistryStore store, std::int64_t id) { return store.ValueAt(id, dwIndex, &value); });
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
