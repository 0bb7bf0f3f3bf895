// SIDs as bytes: building them, and reading a caller's SID without going past its end.
#pragma once

#include <sys/types.h>

#include <vector>

#include "platform/win32/security.h"

namespace zov {

// The size of a SID with that many sub-authorities.
constexpr DWORD SidLengthFor(BYTE sub_authority_count) {
    return static_cast<DWORD>(offsetof(SID, SubAuthority) + sub_authority_count * sizeof(DWORD));
}

// The bytes of a SID; at most SID_MAX_SUB_AUTHORITIES sub-authorities are kept.
std::vector<BYTE> MakeSid(const SID_IDENTIFIER_AUTHORITY& authority,
                          const std::vector<DWORD>& sub_authorities);

// Group id 0 is the local Administrators group S-1-5-32-544; any other group g is S-1-22-2-g.
std::vector<BYTE> SidOfGroup(gid_t group);

// A user u is S-1-22-1-u.
std::vector<BYTE> SidOfUser(uid_t user);

// A SID is valid when it is not null, has revision 1 and at most 15 sub-authorities. Reading
// the header is the only access made before that is known.
bool IsWellFormedSid(const void* sid);

}  // namespace zov
