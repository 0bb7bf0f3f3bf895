#include "platform/registry/registry_journal.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/format.h"
#include "platform/registry/registry_failure.h"
#include "platform/registry/registry_file_owners.h"

namespace zov {
namespace {

// This process's own groups count even where the user database does not list them.
bool ProcessIsInGroup(gid_t group) {
    if (getegid() == group) {
        return true;
    }
    const int count = getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<std::size_t>(count) : 0U);
    const int got = groups.empty() ? 0 : getgroups(count, groups.data());
    groups.resize(got > 0 ? static_cast<std::size_t>(got) : 0U);
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

bool OwnerIsTrusted(const struct stat& journal, const struct stat& database) {
    if (journal.st_uid == 0 || journal.st_uid == database.st_uid) {
        return true;
    }
    if ((database.st_mode & S_IWGRP) == 0) {
        return false;
    }
    return journal.st_uid == geteuid() ? ProcessIsInGroup(database.st_gid)
                                       : UserIsInGroup(journal.st_uid, database.st_gid);
}

bool OnlyTrustedMayWrite(const struct stat& journal, const struct stat& database) {
    if ((journal.st_mode & S_IWOTH) != 0) {
        return false;
    }
    return (journal.st_mode & S_IWGRP) == 0 || journal.st_gid == database.st_gid;
}

}  // namespace

std::string RegistryJournalPath(const std::string& path) {
    return path + "-journal";
}

LSTATUS CheckRegistryJournal(const std::string& path) {
    const std::string journal_path = RegistryJournalPath(path);
    struct stat journal {};
    if (lstat(journal_path.c_str(), &journal) != 0) {
        if (errno == ENOENT) {
            return ERROR_SUCCESS;
        }
        const int error = errno;
        return RefuseRegistry(ERROR_ACCESS_DENIED, path,
                              FormatText("its rollback journal %s cannot be checked (%s)",
                                         journal_path.c_str(), std::strerror(error)));
    }
    if (S_ISREG(journal.st_mode) && journal.st_size == 0) {
        return ERROR_SUCCESS;  // nothing to replay
    }
    struct stat database {};
    if (stat(path.c_str(), &database) != 0) {
        return ERROR_SUCCESS;  // no database: SQLite deletes a journal without one
    }
    if (S_ISREG(journal.st_mode) && OwnerIsTrusted(journal, database) &&
        OnlyTrustedMayWrite(journal, database)) {
        return ERROR_SUCCESS;
    }
    return RefuseRegistry(
        ERROR_ACCESS_DENIED, path,
        FormatText("refused: its rollback journal %s (owner %s, group %s, mode %04o) could have "
                   "been written by someone who may not change the registry, so it was not "
                   "replayed. Check who left it; an administrator removes it only when the "
                   "registry as it is can be trusted, or restores the registry from a backup",
                   journal_path.c_str(), UserName(journal.st_uid).c_str(),
                   GroupName(journal.st_gid).c_str(),
                   static_cast<unsigned>(journal.st_mode & 07777)));
}

}  // namespace zov
