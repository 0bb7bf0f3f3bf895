// Whom the process's token stands for: the real credentials of the process, or those a
// ScopedProcessCredentials put in their place; and the process's privilege state.
#pragma once

#include <memory>
#include <optional>

#include "platform/security/credentials.h"
#include "platform/security/privilege_state.h"

namespace zov {

struct ProcessIdentity {
    // Empty: the process's real credentials, read when asked for.
    std::optional<Credentials> substitute_credentials;
    std::shared_ptr<PrivilegeState> privileges;

    static ProcessIdentity Current();

    // Puts identity in place and returns the one it replaces.
    static ProcessIdentity Replace(ProcessIdentity identity);

    Credentials EffectiveCredentials() const;
};

}  // namespace zov
