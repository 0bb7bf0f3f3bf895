#include <cstring>

#include "platform/registry/registry_database.h"
#include "platform/win32/registry.h"

DWORD ZovGetRegistryPathA(LPSTR lpBuffer, DWORD nSize) {
    const std::string path = zov::RegistryDatabasePath();
    const auto needed = static_cast<DWORD>(path.size() + 1);
    if (lpBuffer == nullptr || nSize < needed) {
        return needed;
    }
    std::memcpy(lpBuffer, path.c_str(), needed);
    return needed - 1;
}
