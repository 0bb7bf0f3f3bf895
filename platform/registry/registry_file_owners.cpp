#include "platform/registry/registry_file_owners.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/format.h"

namespace zov {
namespace {

std::vector<char> LookupBuffer(int which) {
    const long size = sysconf(which);
    return std::vector<char>(size > 0 ? static_cast<std::size_t>(size) : 16384U);
}

// Calls lookup with a buffer that grows while the entry does not fit; true when found.
template <typename Lookup>
bool LookUp(int which, Lookup lookup) {
    std::vector<char> buffer = LookupBuffer(which);
    for (int tries = 0; tries < 8; ++tries) {
        const int error = lookup(buffer);
        if (error != ERANGE) {
            return error == 0;
        }
        buffer.resize(buffer.size() * 2);
    }
    return false;
}

}  // namespace

std::string GroupName(gid_t group) {
    std::string name = FormatText("%u", static_cast<unsigned>(group));
    LookUp(_SC_GETGR_R_SIZE_MAX, [&](std::vector<char>& buffer) {
        struct group entry {};
        struct group* found = nullptr;
        const int error = getgrgid_r(group, &entry, buffer.data(), buffer.size(), &found);
        if (error == 0 && found != nullptr) {
            name = found->gr_name;
        }
        return error != 0 ? error : (found != nullptr ? 0 : ENOENT);
    });
    return name;
}

std::string UserName(uid_t user) {
    std::string name = FormatText("%u", static_cast<unsigned>(user));
    LookUp(_SC_GETPW_R_SIZE_MAX, [&](std::vector<char>& buffer) {
        struct passwd entry {};
        struct passwd* found = nullptr;
        const int error = getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found);
        if (error == 0 && found != nullptr) {
            name = found->pw_name;
        }
        return error != 0 ? error : (found != nullptr ? 0 : ENOENT);
    });
    return name;
}

bool UserIsInGroup(uid_t user, gid_t group) {
    std::string login;
    bool primary = false;
    const bool known = LookUp(_SC_GETPW_R_SIZE_MAX, [&](std::vector<char>& buffer) {
        struct passwd entry {};
        struct passwd* found = nullptr;
        const int error = getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found);
        if (error == 0 && found != nullptr) {
            login = found->pw_name;
            primary = found->pw_gid == group;
        }
        return error != 0 ? error : (found != nullptr ? 0 : ENOENT);
    });
    if (!known || primary) {
        return primary;
    }
    bool member = false;
    LookUp(_SC_GETGR_R_SIZE_MAX, [&](std::vector<char>& buffer) {
        struct group entry {};
        struct group* found = nullptr;
        const int error = getgrgid_r(group, &entry, buffer.data(), buffer.size(), &found);
        for (char** name = found != nullptr ? found->gr_mem : nullptr;
             name != nullptr && *name != nullptr; ++name) {
            member = member || login == *name;
        }
        return error != 0 ? error : (found != nullptr ? 0 : ENOENT);
    });
    return member;
}

}  // namespace zov
