// Building, comparing and freeing SIDs. SIDs this platform allocates are remembered, so that
// FreeSid of anything else fails instead of freeing foreign memory.
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_map>
#include <vector>

#include "platform/security/sid_bytes.h"
#include "platform/win32/kernel.h"
#include "platform/win32/security.h"

namespace {

// Windows allows at most eight sub-authorities through AllocateAndInitializeSid.
constexpr BYTE kMaxAllocatedSubAuthorities = 8;

struct SidAllocations {
    std::mutex mutex;
    // DWORD storage keeps each SID aligned for its sub-authorities.
    std::unordered_map<const void*, std::vector<DWORD>> sids;
};

SidAllocations& Allocations() {
    // Leaked on purpose: SIDs may still be freed by static destructors at exit.
    static auto* allocations = new SidAllocations;
    return *allocations;
}

DWORD LengthOfWellFormedSid(const void* sid) {
    return zov::SidLengthFor(static_cast<const BYTE*>(sid)[offsetof(SID, SubAuthorityCount)]);
}

}  // namespace

BOOL AllocateAndInitializeSid(PSID_IDENTIFIER_AUTHORITY pIdentifierAuthority,
                              BYTE nSubAuthorityCount, DWORD nSubAuthority0, DWORD nSubAuthority1,
                              DWORD nSubAuthority2, DWORD nSubAuthority3, DWORD nSubAuthority4,
                              DWORD nSubAuthority5, DWORD nSubAuthority6, DWORD nSubAuthority7,
                              PSID* pSid) {
    if (pIdentifierAuthority == nullptr || pSid == nullptr ||
        nSubAuthorityCount > kMaxAllocatedSubAuthorities) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    try {
        std::vector<DWORD> sub_authorities = {nSubAuthority0, nSubAuthority1, nSubAuthority2,
                                              nSubAuthority3, nSubAuthority4, nSubAuthority5,
                                              nSubAuthority6, nSubAuthority7};
        sub_authorities.resize(nSubAuthorityCount);
        const std::vector<BYTE> bytes = zov::MakeSid(*pIdentifierAuthority, sub_authorities);
        std::vector<DWORD> storage((bytes.size() + sizeof(DWORD) - 1) / sizeof(DWORD));
        std::memcpy(storage.data(), bytes.data(), bytes.size());
        void* sid = storage.data();
        SidAllocations& allocations = Allocations();
        std::lock_guard<std::mutex> lock(allocations.mutex);
        allocations.sids.emplace(sid, std::move(storage));
        *pSid = sid;
        return TRUE;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
}

PVOID FreeSid(PSID pSid) {
    if (pSid == nullptr) {
        return nullptr;
    }
    SidAllocations& allocations = Allocations();
    std::lock_guard<std::mutex> lock(allocations.mutex);
    // Windows returns the SID itself when it could not be freed.
    return allocations.sids.erase(pSid) == 1 ? nullptr : pSid;
}

BOOL IsValidSid(PSID pSid) {
    return zov::IsWellFormedSid(pSid) ? TRUE : FALSE;
}

DWORD GetLengthSid(PSID pSid) {
    if (!zov::IsWellFormedSid(pSid)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return LengthOfWellFormedSid(pSid);
}

BOOL EqualSid(PSID pSid1, PSID pSid2) {
    if (!zov::IsWellFormedSid(pSid1) || !zov::IsWellFormedSid(pSid2)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DWORD length = LengthOfWellFormedSid(pSid1);
    const bool equal =
        length == LengthOfWellFormedSid(pSid2) && std::memcmp(pSid1, pSid2, length) == 0;
    // Two valid SIDs that differ: FALSE with the last error cleared, as Windows does.
    SetLastError(ERROR_SUCCESS);
    return equal ? TRUE : FALSE;
}
