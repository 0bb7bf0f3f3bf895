// The calling thread's last-error code, as kernel32 keeps it per thread.
#include "platform/win32/kernel.h"

namespace {

thread_local DWORD t_last_error = ERROR_SUCCESS;

}  // namespace

DWORD GetLastError(void) {
    return t_last_error;
}

void SetLastError(DWORD dwErrCode) {
    t_last_error = dwErrCode;
}
