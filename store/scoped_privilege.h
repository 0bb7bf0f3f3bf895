// A privilege of the process token, enabled for one call and disabled again afterwards.
#pragma once

#include "platform/win32/base.h"

namespace zov {

class ScopedPrivilege {
  public:
    // Opens the process token with adjust-privileges access and enables the named privilege.
    explicit ScopedPrivilege(LPCSTR privilegeName);
    // Disables every privilege of the token (the disable-all form) and closes it.
    ~ScopedPrivilege();
    ScopedPrivilege(const ScopedPrivilege&) = delete;
    ScopedPrivilege& operator=(const ScopedPrivilege&) = delete;

  private:
    HANDLE token_ = nullptr;
};

}  // namespace zov
