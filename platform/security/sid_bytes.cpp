#include "platform/security/sid_bytes.h"

#include <algorithm>
#include <cstring>

namespace zov {
namespace {

// The authority under which Linux user and group ids are mapped to SIDs (S-1-22-1-u, S-1-22-2-g).
constexpr SID_IDENTIFIER_AUTHORITY kUnixAuthority = {{0, 0, 0, 0, 0, 22}};
constexpr DWORD kUnixUserRid = 1;
constexpr DWORD kUnixGroupRid = 2;

}  // namespace

std::vector<BYTE> MakeSid(const SID_IDENTIFIER_AUTHORITY& authority,
                          const std::vector<DWORD>& sub_authorities) {
    const BYTE count =
        static_cast<BYTE>(std::min<std::size_t>(sub_authorities.size(), SID_MAX_SUB_AUTHORITIES));
    std::vector<BYTE> sid(SidLengthFor(count));
    sid[offsetof(SID, Revision)] = SID_REVISION;
    sid[offsetof(SID, SubAuthorityCount)] = count;
    std::memcpy(sid.data() + offsetof(SID, IdentifierAuthority), authority.Value,
                sizeof(authority.Value));
    for (BYTE index = 0; index < count; ++index) {
        std::memcpy(sid.data() + offsetof(SID, SubAuthority) + index * sizeof(DWORD),
                    &sub_authorities[index], sizeof(DWORD));
    }
    return sid;
}

std::vector<BYTE> SidOfGroup(gid_t group) {
    if (group == 0) {
        return MakeSid(SECURITY_NT_AUTHORITY,
                       {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS});
    }
    return MakeSid(kUnixAuthority, {kUnixGroupRid, static_cast<DWORD>(group)});
}

std::vector<BYTE> SidOfUser(uid_t user) {
    return MakeSid(kUnixAuthority, {kUnixUserRid, static_cast<DWORD>(user)});
}

bool IsWellFormedSid(const void* sid) {
    if (sid == nullptr) {
        return false;
    }
    const BYTE* header = static_cast<const BYTE*>(sid);
    return header[offsetof(SID, Revision)] == SID_REVISION &&
           header[offsetof(SID, SubAuthorityCount)] <= SID_MAX_SUB_AUTHORITIES;
}

}  // namespace zov
