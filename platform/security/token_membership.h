// What a token built from credentials holds: its groups, and the privileges that come with the
// local Administrators group.
#pragma once

#include <sys/types.h>

#include <vector>

#include "platform/security/credentials.h"
#include "platform/security/privilege_state.h"

namespace zov {

// The effective group id first, then each supplementary group not already listed.
std::vector<gid_t> TokenGroupIds(const Credentials& credentials);

// Group id 0 stands for the local Administrators group.
bool HoldsAdministratorsGroup(const Credentials& credentials);

// An administrator's token holds every privilege this platform knows, unless it was removed.
bool HoldsPrivilege(const Credentials& credentials, const PrivilegeState::Flags& flags,
                    Privilege privilege);

}  // namespace zov
