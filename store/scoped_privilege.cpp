#include "store/scoped_privilege.h"

#include "platform/win32/kernel.h"
#include "platform/win32/security.h"

namespace zov {

ScopedPrivilege::ScopedPrivilege(LPCSTR privilegeName) {
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token_)) {
        token_ = nullptr;
        return;
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // A privilege that cannot be enabled makes the call that needs it fail with
    // ERROR_PRIVILEGE_NOT_HELD, which is where the failure is reported.
    if (LookupPrivilegeValueA(nullptr, privilegeName, &privileges.Privileges[0].Luid)) {
        AdjustTokenPrivileges(token_, FALSE, &privileges, 0, nullptr, nullptr);
    }
}

ScopedPrivilege::~ScopedPrivilege() {
    if (token_ != nullptr) {
        AdjustTokenPrivileges(token_, TRUE, nullptr, 0, nullptr, nullptr);
        CloseHandle(token_);
    }
}

}  // namespace zov
