#include "store/administrator.h"

#include <vector>

#include "platform/win32/kernel.h"
#include "platform/win32/security.h"

namespace zov {

namespace {

// The token's group list, read whole whatever its size; empty when it cannot be read.
std::vector<DWORD_PTR> ReadTokenGroups(HANDLE token) {
    // The list's size may change between the two calls; a few tries settle it.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD needed = 0;
        GetTokenInformation(token, TokenGroups, nullptr, 0, &needed);
        if (needed == 0) {
            return {};
        }
        // Whole pointers keep the SIDs inside the buffer aligned.
        std::vector<DWORD_PTR> buffer((needed + sizeof(DWORD_PTR) - 1) / sizeof(DWORD_PTR));
        const auto size = static_cast<DWORD>(buffer.size() * sizeof(DWORD_PTR));
        if (GetTokenInformation(token, TokenGroups, buffer.data(), size, &needed)) {
            return buffer;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            return {};
        }
    }
    return {};
}

}  // namespace

bool IsUserAdministrator() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &token)) {
        return false;
    }
    const std::vector<DWORD_PTR> buffer = ReadTokenGroups(token);
    CloseHandle(token);
    if (buffer.empty()) {
        return false;
    }
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                  DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators)) {
        return false;
    }
    // The attributes are not looked at: a listed group counts, enabled or not.
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    const SID_AND_ATTRIBUTES* group = groups->Groups;
    for (DWORD i = 0; i < groups->GroupCount; ++i, ++group) {
        if (EqualSid(group->Sid, administrators)) {
            FreeSid(administrators);
            return true;
        }
    }
    FreeSid(administrators);
    return false;
}

}  // namespace zov
