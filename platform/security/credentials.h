// POSIX credentials that a token stands for, and the ways tests and the utility's scenario tests
// build tokens from credentials other than the process's own.
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/win32/kernel.h"
#include "platform/win32/security.h"

namespace zov {

struct Credentials {
    uid_t uid = 0;
    gid_t gid = 0;
    std::vector<gid_t> supplementary_groups;

    // The effective user and group ids and the supplementary groups of the calling process.
    static Credentials OfProcess();
};

// A token handle (close it with CloseHandle) that answers for the given credentials, with the
// given access rights and all privileges disabled. Its privilege state is its own, not the
// process's. Returns nullptr with ERROR_NOT_ENOUGH_MEMORY only when memory runs out.
HANDLE OpenTokenForCredentials(const Credentials& credentials,
                               DWORD desired_access = TOKEN_ALL_ACCESS);

class PrivilegeState;

// While it lives, OpenProcessToken(GetCurrentProcess()) and IsPrivilegeEnabled answer for the
// given credentials, with all privileges disabled at first; the process's real credentials are
// not touched. Scopes nest; each restores what was there before when it ends.
class ScopedProcessCredentials {
  public:
    explicit ScopedProcessCredentials(const Credentials& credentials);
    ~ScopedProcessCredentials();
    ScopedProcessCredentials(const ScopedProcessCredentials&) = delete;
    ScopedProcessCredentials& operator=(const ScopedProcessCredentials&) = delete;

  private:
    std::optional<Credentials> previous_credentials_;
    std::shared_ptr<PrivilegeState> previous_privileges_;
};

}  // namespace zov
