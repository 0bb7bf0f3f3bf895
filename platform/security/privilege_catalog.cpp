#include "platform/security/privilege_catalog.h"

#include <strings.h>

namespace zov {
namespace {

struct PrivilegeEntry {
    Privilege privilege;
    const char* name;
    DWORD luid_low_part;
};

// Windows numbers its privileges from 2 upward; backup and restore are 17 and 18.
constexpr std::array<PrivilegeEntry, 2> kCatalog = {{
    {Privilege::Backup, SE_BACKUP_NAME, 17},
    {Privilege::Restore, SE_RESTORE_NAME, 18},
}};

}  // namespace

LUID LuidOf(Privilege privilege) {
    for (const PrivilegeEntry& entry : kCatalog) {
        if (entry.privilege == privilege) {
            return LUID{entry.luid_low_part, 0};
        }
    }
    return LUID{0, 0};
}

std::optional<Privilege> PrivilegeFromLuid(const LUID& luid) {
    for (const PrivilegeEntry& entry : kCatalog) {
        if (luid.HighPart == 0 && luid.LowPart == entry.luid_low_part) {
            return entry.privilege;
        }
    }
    return std::nullopt;
}

std::optional<Privilege> PrivilegeFromName(const char* name) {
    if (name == nullptr) {
        return std::nullopt;
    }
    for (const PrivilegeEntry& entry : kCatalog) {
        if (strcasecmp(name, entry.name) == 0) {
            return entry.privilege;
        }
    }
    return std::nullopt;
}

}  // namespace zov
