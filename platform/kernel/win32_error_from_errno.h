// The Win32 status that stands for a POSIX errno value, for the stand-ins that sit on system
// calls (files, the registry database).
#pragma once

#include "platform/win32/base.h"

namespace zov {

// 0 gives ERROR_SUCCESS. The mapping is about files: ENOENT is ERROR_FILE_NOT_FOUND (callers that
// know a directory of the path is missing use ERROR_PATH_NOT_FOUND themselves), permissions and
// read-only file systems are ERROR_ACCESS_DENIED, EEXIST is ERROR_FILE_EXISTS. An errno value
// without a closer match gives ERROR_GEN_FAILURE.
DWORD Win32ErrorFromErrno(int errno_value);

}  // namespace zov
