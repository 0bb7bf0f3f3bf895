#include "token_test_support.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>

namespace zov::testing {

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

std::vector<std::vector<BYTE>> GroupSidsOf(HANDLE token) {
    DWORD needed = 0;
    GetTokenInformation(token, TokenGroups, nullptr, 0, &needed);
    std::vector<std::uint64_t> storage((needed + 7) / 8);
    if (!GetTokenInformation(token, TokenGroups, storage.data(), needed, &needed)) {
        return {};
    }
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(storage.data());
    std::vector<std::vector<BYTE>> sids;
    for (DWORD index = 0; index < groups->GroupCount; ++index) {
        sids.push_back(SidBytes(groups->Groups[index].Sid));
    }
    return sids;
}

bool ProcessTokenListsAdministrators() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &token)) {
        return false;
    }
    std::vector<std::uint64_t> storage(1024 / 8);
    DWORD length = 0;
    const BOOL read = GetTokenInformation(token, TokenGroups, storage.data(), 1024, &length);
    CloseHandle(token);
    if (!read) {
        return false;
    }
    SID_IDENTIFIER_AUTHORITY nt_authority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt_authority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                  DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators)) {
        return false;
    }
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(storage.data());
    bool found = false;
    for (DWORD index = 0; index < groups->GroupCount && !found; ++index) {
        found = EqualSid(groups->Groups[index].Sid, administrators) != FALSE;
    }
    FreeSid(administrators);
    return found;
}

int RunInChildAs(uid_t uid, gid_t gid, const std::function<int()>& check) {
    const pid_t child = fork();
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0) {
            _exit(100);
        }
        _exit(check());
    }
    if (child < 0) {
        return -1;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

bool LookUpNobody(UserIds& ids) {
    const passwd* entry = getpwnam("nobody");
    if (entry == nullptr) {
        return false;
    }
    ids = {entry->pw_uid, entry->pw_gid};
    return true;
}

}  // namespace zov::testing
