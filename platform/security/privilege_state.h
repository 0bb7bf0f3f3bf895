// Which privileges are enabled or removed: the state of a process (shared by every token handle
// opened on it) or of one token built from credentials.
#pragma once

#include <array>
#include <functional>
#include <mutex>

#include "platform/security/privilege_catalog.h"

namespace zov {

class PrivilegeState {
  public:
    struct Flags {
        std::array<bool, kAllPrivileges.size()> enabled{};
        std::array<bool, kAllPrivileges.size()> removed{};
    };

    Flags Get() const;

    // Runs change on the flags while no other thread can read or change them.
    void Update(const std::function<void(Flags&)>& change);

  private:
    mutable std::mutex mutex_;
    Flags flags_;
};

}  // namespace zov
