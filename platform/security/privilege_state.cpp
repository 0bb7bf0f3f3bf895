#include "platform/security/privilege_state.h"

namespace zov {

PrivilegeState::Flags PrivilegeState::Get() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return flags_;
}

void PrivilegeState::Update(const std::function<void(Flags&)>& change) {
    std::lock_guard<std::mutex> lock(mutex_);
    change(flags_);
}

}  // namespace zov
