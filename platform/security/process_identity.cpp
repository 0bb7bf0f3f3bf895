#include "platform/security/process_identity.h"

#include <mutex>
#include <utility>

namespace zov {
namespace {

std::mutex& IdentityMutex() {
    static std::mutex mutex;
    return mutex;
}

ProcessIdentity& StoredIdentity() {
    // Leaked on purpose: token handles and late callers may still use it during exit.
    static auto* identity = new ProcessIdentity{std::nullopt, std::make_shared<PrivilegeState>()};
    return *identity;
}

}  // namespace

ProcessIdentity ProcessIdentity::Current() {
    std::lock_guard<std::mutex> lock(IdentityMutex());
    return StoredIdentity();
}

ProcessIdentity ProcessIdentity::Replace(ProcessIdentity identity) {
    std::lock_guard<std::mutex> lock(IdentityMutex());
    return std::exchange(StoredIdentity(), std::move(identity));
}

Credentials ProcessIdentity::EffectiveCredentials() const {
    return substitute_credentials ? *substitute_credentials : Credentials::OfProcess();
}

}  // namespace zov
