// Who stands behind a file of the registry: names of users and groups for messages, and whether a
// user belongs to a group (as the system's user and group databases say).
#pragma once

#include <sys/types.h>

#include <string>

namespace zov {

// The group that may change the registry: group 0, the administrators.
inline constexpr gid_t kRegistryAdminGroup = 0;

// "root", or the number when the group has no name.
std::string GroupName(gid_t group);
std::string UserName(uid_t user);

// True when user has group as its primary group or is listed as one of its members.
bool UserIsInGroup(uid_t user, gid_t group);

}  // namespace zov
