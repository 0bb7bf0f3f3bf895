#include "token_test_support.h"

#include <cstdint>

namespace zov::testing {

TokenHandle OpenOwnProcessToken(DWORD access) {
    HANDLE token = nullptr;
    return TokenHandle(OpenProcessToken(GetCurrentProcess(), access, &token) ? token : nullptr);
}

TokenHandle TokenFor(const Credentials& credentials, DWORD access) {
    return TokenHandle(OpenTokenForCredentials(credentials, access));
}

std::vector<BYTE> SidBytes(PSID sid) {
    const auto* bytes = static_cast<const BYTE*>(sid);
    const std::size_t length = 8 + 4 * static_cast<std::size_t>(bytes[1]);
    return std::vector<BYTE>(bytes, bytes + length);
}

std::vector<BYTE> SidBytesOf(BYTE authority, const std::vector<DWORD>& sub_authorities) {
    std::vector<BYTE> bytes = {1,        static_cast<BYTE>(sub_authorities.size()), 0, 0, 0, 0, 0,
                               authority};
    for (DWORD sub_authority : sub_authorities) {
        // Sub-authorities are stored little-endian, as on Windows (and this x86/ARM host).
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<BYTE>(sub_authority >> shift));
        }
    }
    return bytes;
}

std::vector<BYTE> AdministratorsSidBytes() {
    return SidBytesOf(5, {32, 544});
}

std::vector<std::vector<BYTE>> GroupSidsOf(HANDLE token, DWORD size) {
    if (size == 0) {
        GetTokenInformation(token, TokenGroups, nullptr, 0, &size);
    }
    std::vector<std::uint64_t> storage((size + 7) / 8);
    if (!GetTokenInformation(token, TokenGroups, storage.data(), size, &size)) {
        return {};
    }
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(storage.data());
    std::vector<std::vector<BYTE>> sids;
    for (DWORD index = 0; index < groups->GroupCount; ++index) {
        sids.push_back(SidBytes(groups->Groups[index].Sid));
    }
    return sids;
}

LUID LuidOf(LPCSTR privilege_name) {
    LUID luid{};
    LookupPrivilegeValueA(nullptr, privilege_name, &luid);
    return luid;
}

DWORD Adjust(LPCSTR privilege_name, DWORD attributes, HANDLE token) {
    const TokenHandle own = OpenOwnProcessToken(TOKEN_ADJUST_PRIVILEGES);
    TOKEN_PRIVILEGES state{1, {{LuidOf(privilege_name), attributes}}};
    const BOOL adjusted = AdjustTokenPrivileges(token != nullptr ? token : own.get(), FALSE, &state,
                                                0, nullptr, nullptr);
    return adjusted ? GetLastError() : ~0U;
}

}  // namespace zov::testing
