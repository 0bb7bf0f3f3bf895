// Looking up privileges by name and enabling or disabling them on a token.
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "platform/security/privilege_catalog.h"
#include "platform/security/token_membership.h"
#include "platform/security/token_table.h"
#include "platform/win32/kernel.h"
#include "platform/win32/security.h"

namespace {

struct PrivilegeChange {
    zov::Privilege privilege;
    DWORD previous_attributes;
};

DWORD AttributesOf(const zov::PrivilegeState::Flags& flags, zov::Privilege privilege) {
    return flags.enabled[zov::IndexOf(privilege)] ? SE_PRIVILEGE_ENABLED : 0;
}

// Applies one privilege's new attributes to flags, noting its previous state the first time it
// changes. False when the token does not hold the privilege.
bool ApplyAttributes(const zov::Credentials& credentials, zov::Privilege privilege,
                     DWORD attributes, zov::PrivilegeState::Flags& flags,
                     std::vector<PrivilegeChange>& changes) {
    if (!zov::HoldsPrivilege(credentials, flags, privilege)) {
        return false;
    }
    const std::size_t index = zov::IndexOf(privilege);
    const zov::PrivilegeState::Flags before = flags;
    if ((attributes & SE_PRIVILEGE_REMOVED) != 0) {
        flags.removed[index] = true;
        flags.enabled[index] = false;
    } else {
        flags.enabled[index] = (attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    const bool changed = before.enabled[index] != flags.enabled[index] ||
                         before.removed[index] != flags.removed[index];
    bool already_noted = false;
    for (const PrivilegeChange& change : changes) {
        already_noted = already_noted || change.privilege == privilege;
    }
    if (changed && !already_noted) {
        changes.push_back({privilege, AttributesOf(before, privilege)});
    }
    return true;
}

}  // namespace

BOOL LookupPrivilegeValueA(LPCSTR lpSystemName, LPCSTR lpName, PLUID lpLuid) {
    if (lpSystemName != nullptr && lpSystemName[0] != '\0') {
        // Only the local system exists here; there is no remote lookup.
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (lpName == nullptr || lpLuid == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::optional<zov::Privilege> privilege = zov::PrivilegeFromName(lpName);
    if (!privilege) {
        SetLastError(ERROR_NO_SUCH_PRIVILEGE);
        return FALSE;
    }
    *lpLuid = zov::LuidOf(*privilege);
    return TRUE;
}

BOOL AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges,
                           PTOKEN_PRIVILEGES NewState, DWORD BufferLength,
                           PTOKEN_PRIVILEGES PreviousState, PDWORD ReturnLength) {
    const std::shared_ptr<const zov::Token> token = zov::TokenTable::Find(TokenHandle);
    if (token == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // Asking for the previous state reads the token, so it needs query access too.
    const ACCESS_MASK needed_access =
        TOKEN_ADJUST_PRIVILEGES | (PreviousState != nullptr ? TOKEN_QUERY : 0);
    if (!token->Allows(needed_access)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if ((!DisableAllPrivileges && NewState == nullptr) ||
        (PreviousState != nullptr && ReturnLength == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }

    DWORD status = ERROR_SUCCESS;
    try {
        token->privileges->Update([&](zov::PrivilegeState::Flags& flags) {
            zov::PrivilegeState::Flags adjusted = flags;
            std::vector<PrivilegeChange> changes;
            bool all_assigned = true;
            if (DisableAllPrivileges) {
                for (zov::Privilege privilege : zov::kAllPrivileges) {
                    ApplyAttributes(token->credentials, privilege, 0, adjusted, changes);
                }
            } else {
                for (DWORD index = 0; index < NewState->PrivilegeCount; ++index) {
                    const LUID_AND_ATTRIBUTES& wanted = NewState->Privileges[index];
                    const std::optional<zov::Privilege> privilege =
                        zov::PrivilegeFromLuid(wanted.Luid);
                    all_assigned = privilege &&
                                   ApplyAttributes(token->credentials, *privilege,
                                                   wanted.Attributes, adjusted, changes) &&
                                   all_assigned;
                }
            }
            if (PreviousState != nullptr) {
                const std::size_t size = offsetof(TOKEN_PRIVILEGES, Privileges) +
                                         changes.size() * sizeof(LUID_AND_ATTRIBUTES);
                *ReturnLength = static_cast<DWORD>(size);
                if (BufferLength < size) {
                    // Nothing is changed when the previous state does not fit.
                    status = ERROR_INSUFFICIENT_BUFFER;
                    return;
                }
                auto* bytes = reinterpret_cast<BYTE*>(PreviousState);
                const auto count = static_cast<DWORD>(changes.size());
                std::memcpy(bytes + offsetof(TOKEN_PRIVILEGES, PrivilegeCount), &count,
                            sizeof(count));
                for (std::size_t index = 0; index < changes.size(); ++index) {
                    const LUID_AND_ATTRIBUTES previous = {zov::LuidOf(changes[index].privilege),
                                                          changes[index].previous_attributes};
                    std::memcpy(bytes + offsetof(TOKEN_PRIVILEGES, Privileges) +
                                    index * sizeof(LUID_AND_ATTRIBUTES),
                                &previous, sizeof(previous));
                }
            }
            flags = adjusted;
            status = all_assigned ? ERROR_SUCCESS : ERROR_NOT_ALL_ASSIGNED;
        });
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    SetLastError(status);
    return status == ERROR_INSUFFICIENT_BUFFER ? FALSE : TRUE;
}
