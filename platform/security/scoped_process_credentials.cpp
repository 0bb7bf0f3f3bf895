#include <memory>
#include <utility>

#include "platform/security/credentials.h"
#include "platform/security/process_identity.h"

namespace zov {

ScopedProcessCredentials::ScopedProcessCredentials(const Credentials& credentials) {
    ProcessIdentity previous =
        ProcessIdentity::Replace(ProcessIdentity{credentials, std::make_shared<PrivilegeState>()});
    previous_credentials_ = std::move(previous.substitute_credentials);
    previous_privileges_ = std::move(previous.privileges);
}

ScopedProcessCredentials::~ScopedProcessCredentials() {
    ProcessIdentity::Replace(
        ProcessIdentity{std::move(previous_credentials_), std::move(previous_privileges_)});
}

}  // namespace zov
