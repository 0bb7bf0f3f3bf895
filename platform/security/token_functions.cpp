// The token calls: the process pseudo-handle, opening and closing token handles, and reading a
// token's information into the caller's buffer.
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "platform/security/credentials.h"
#include "platform/security/process_identity.h"
#include "platform/security/token_information.h"
#include "platform/security/token_table.h"
#include "platform/win32/kernel.h"
#include "platform/win32/security.h"

namespace {

// Generic rights and MAXIMUM_ALLOWED, mapped onto the token's own rights as Windows maps them.
constexpr ACCESS_MASK kGenericRead = 0x80000000;
constexpr ACCESS_MASK kGenericWrite = 0x40000000;
constexpr ACCESS_MASK kGenericExecute = 0x20000000;
constexpr ACCESS_MASK kGenericAll = 0x10000000;
constexpr ACCESS_MASK kMaximumAllowed = 0x02000000;

ACCESS_MASK MapTokenAccess(ACCESS_MASK desired) {
    ACCESS_MASK granted =
        desired & ~(kGenericRead | kGenericWrite | kGenericExecute | kGenericAll | kMaximumAllowed);
    if ((desired & kGenericRead) != 0) {
        granted |= TOKEN_READ;
    }
    if ((desired & kGenericWrite) != 0) {
        granted |= TOKEN_WRITE;
    }
    if ((desired & kGenericExecute) != 0) {
        granted |= STANDARD_RIGHTS_EXECUTE;
    }
    if ((desired & (kGenericAll | kMaximumAllowed)) != 0) {
        granted |= TOKEN_ALL_ACCESS;
    }
    return granted;
}

HANDLE InsertToken(const zov::Credentials& credentials,
                   std::shared_ptr<zov::PrivilegeState> privileges, ACCESS_MASK access) {
    try {
        return zov::TokenTable::Insert(std::make_shared<const zov::Token>(
            zov::Token{credentials, std::move(privileges), MapTokenAccess(access)}));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

}  // namespace

namespace zov {

HANDLE OpenTokenForCredentials(const Credentials& credentials, DWORD desired_access) {
    try {
        return InsertToken(credentials, std::make_shared<PrivilegeState>(), desired_access);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

}  // namespace zov

HANDLE GetCurrentProcess(void) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the pseudo-handle is a number, as on Windows.
    return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
}

BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle) {
    if (ProcessHandle != GetCurrentProcess()) {
        // Only the calling process exists for this platform.
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (TokenHandle == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    try {
        const zov::ProcessIdentity identity = zov::ProcessIdentity::Current();
        HANDLE token =
            InsertToken(identity.EffectiveCredentials(), identity.privileges, DesiredAccess);
        if (token == nullptr) {
            return FALSE;
        }
        *TokenHandle = token;
        return TRUE;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
}

BOOL CloseHandle(HANDLE hObject) {
    if (hObject == GetCurrentProcess()) {
        // Closing the pseudo-handle has no effect, as on Windows.
        return TRUE;
    }
    if (!zov::TokenTable::Erase(hObject)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL GetTokenInformation(HANDLE TokenHandle, TOKEN_INFORMATION_CLASS TokenInformationClass,
                         LPVOID TokenInformation, DWORD TokenInformationLength,
                         PDWORD ReturnLength) {
    const std::shared_ptr<const zov::Token> token = zov::TokenTable::Find(TokenHandle);
    if (token == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!token->Allows(TOKEN_QUERY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (ReturnLength == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    try {
        const std::optional<zov::TokenInformationImage> image =
            zov::TokenInformationOf(*token, TokenInformationClass);
        if (!image) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        *ReturnLength = static_cast<DWORD>(image->size);
        if (TokenInformation == nullptr || TokenInformationLength < image->size) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        image->write(static_cast<BYTE*>(TokenInformation));
        return TRUE;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
}
