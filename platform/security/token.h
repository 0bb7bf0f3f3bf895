// What a token handle refers to: whom the token stands for, what the handle may do with it, and
// the privilege state it adjusts (the process's, for a token opened on the process).
#pragma once

#include <memory>

#include "platform/security/credentials.h"
#include "platform/security/privilege_state.h"

namespace zov {

struct Token {
    Credentials credentials;
    std::shared_ptr<PrivilegeState> privileges;
    ACCESS_MASK access = 0;

    bool Allows(ACCESS_MASK wanted) const { return (access & wanted) == wanted; }
};

}  // namespace zov
