// The one mapping from a POSIX errno value to the Win32 status that stands for it, for the
// stand-ins that sit on system calls (files, the registry database, saved-key files).
#pragma once

#include "platform/win32/base.h"

namespace zov {

// 0 gives ERROR_SUCCESS; an errno value without a closer Win32 meaning gives `otherwise`
// (a caller that knows what it was doing passes ERROR_CANTWRITE, ERROR_CANTOPEN...).
DWORD Win32ErrorFromErrno(int errno_value, DWORD otherwise = ERROR_GEN_FAILURE);

}  // namespace zov
