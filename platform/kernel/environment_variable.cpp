// GetEnvironmentVariableA over the process environment.
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/win32/kernel.h"

DWORD GetEnvironmentVariableA(LPCSTR lpName, LPSTR lpBuffer, DWORD nSize) {
    if (lpName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // A name cannot be empty or hold '=' (POSIX would split such an entry differently).
    const char* value =
        (lpName[0] == '\0' || std::strchr(lpName, '=') != nullptr) ? nullptr : std::getenv(lpName);
    if (value == nullptr) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    const std::size_t length = std::strlen(value);
    if (length >= std::numeric_limits<DWORD>::max()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    const DWORD capacity = lpBuffer == nullptr ? 0 : nSize;
    if (length >= capacity) {
        // Too small: the size needed including the terminating zero; the buffer is left as it was.
        return static_cast<DWORD>(length + 1);
    }
    std::memcpy(lpBuffer, value, length + 1);
    // A variable set to the empty text returns 0 too; the cleared last error tells it apart.
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(length);
}
