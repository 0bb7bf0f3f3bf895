#include "platform/security/privileges.h"

#include "platform/security/process_identity.h"
#include "platform/security/token_membership.h"

namespace zov {

bool IsPrivilegeEnabled(Privilege privilege) {
    const ProcessIdentity identity = ProcessIdentity::Current();
    const PrivilegeState::Flags flags = identity.privileges->Get();
    return HoldsPrivilege(identity.EffectiveCredentials(), flags, privilege) &&
           flags.enabled[IndexOf(privilege)];
}

}  // namespace zov
