#include "platform/security/token_membership.h"

#include <algorithm>

namespace zov {

std::vector<gid_t> TokenGroupIds(const Credentials& credentials) {
    std::vector<gid_t> groups{credentials.gid};
    for (gid_t group : credentials.supplementary_groups) {
        if (std::find(groups.begin(), groups.end(), group) == groups.end()) {
            groups.push_back(group);
        }
    }
    return groups;
}

bool HoldsAdministratorsGroup(const Credentials& credentials) {
    const std::vector<gid_t> groups = TokenGroupIds(credentials);
    return std::find(groups.begin(), groups.end(), gid_t{0}) != groups.end();
}

bool HoldsPrivilege(const Credentials& credentials, const PrivilegeState::Flags& flags,
                    Privilege privilege) {
    return HoldsAdministratorsGroup(credentials) && !flags.removed[IndexOf(privilege)];
}

}  // namespace zov
