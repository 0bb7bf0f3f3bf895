#include "platform/security/token_information.h"

#include <cstring>
#include <memory>
#include <vector>

#include "platform/security/sid_bytes.h"
#include "platform/security/sid_list_layout.h"
#include "platform/security/token_membership.h"

namespace zov {
namespace {

// Every group of a token is mandatory and enabled; none is deny-only or the owner.
constexpr DWORD kGroupAttributes =
    SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED;

TokenInformationImage UserImage(const Token& token) {
    auto layout = std::make_shared<SidListLayout>(
        offsetof(TOKEN_USER, User), std::vector<SidEntry>{{SidOfUser(token.credentials.uid), 0}});
    return {layout->Size(), [layout](BYTE* buffer) { layout->WriteArrayAndSids(buffer); }};
}

TokenInformationImage GroupsImage(const Token& token) {
    std::vector<SidEntry> entries;
    for (gid_t group : TokenGroupIds(token.credentials)) {
        entries.push_back({SidOfGroup(group), kGroupAttributes});
    }
    const auto count = static_cast<DWORD>(entries.size());
    auto layout =
        std::make_shared<SidListLayout>(offsetof(TOKEN_GROUPS, Groups), std::move(entries));
    return {layout->Size(), [layout, count](BYTE* buffer) {
                std::memcpy(buffer + offsetof(TOKEN_GROUPS, GroupCount), &count, sizeof(count));
                layout->WriteArrayAndSids(buffer);
            }};
}

TokenInformationImage PrivilegesImage(const Token& token) {
    const PrivilegeState::Flags flags = token.privileges->Get();
    std::vector<LUID_AND_ATTRIBUTES> held;
    for (Privilege privilege : kAllPrivileges) {
        if (HoldsPrivilege(token.credentials, flags, privilege)) {
            const bool enabled = flags.enabled[IndexOf(privilege)];
            held.push_back(
                {LuidOf(privilege), static_cast<DWORD>(enabled ? SE_PRIVILEGE_ENABLED : 0)});
        }
    }
    const std::size_t size =
        offsetof(TOKEN_PRIVILEGES, Privileges) + held.size() * sizeof(LUID_AND_ATTRIBUTES);
    return {size, [held](BYTE* buffer) {
                const auto count = static_cast<DWORD>(held.size());
                std::memcpy(buffer + offsetof(TOKEN_PRIVILEGES, PrivilegeCount), &count,
                            sizeof(count));
                if (!held.empty()) {
                    std::memcpy(buffer + offsetof(TOKEN_PRIVILEGES, Privileges), held.data(),
                                held.size() * sizeof(LUID_AND_ATTRIBUTES));
                }
            }};
}

}  // namespace

std::optional<TokenInformationImage> TokenInformationOf(const Token& token,
                                                        TOKEN_INFORMATION_CLASS information_class) {
    switch (information_class) {
        case TokenUser:
            return UserImage(token);
        case TokenGroups:
            return GroupsImage(token);
        case TokenPrivileges:
            return PrivilegesImage(token);
        default:
            return std::nullopt;
    }
}

}  // namespace zov
