// The privileges this platform knows, with the names and LUIDs Windows gives them.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "platform/security/privileges.h"
#include "platform/win32/security.h"

namespace zov {

inline constexpr std::array<Privilege, 2> kAllPrivileges = {Privilege::Backup, Privilege::Restore};

constexpr std::size_t IndexOf(Privilege privilege) {
    return static_cast<std::size_t>(privilege);
}

LUID LuidOf(Privilege privilege);

// The privilege with that LUID, or nothing for a LUID this platform does not know.
std::optional<Privilege> PrivilegeFromLuid(const LUID& luid);

// The privilege with that name, compared without case, or nothing.
std::optional<Privilege> PrivilegeFromName(const char* name);

}  // namespace zov
