// The subset of the Win32 API that zovcfg uses, with Win32 signatures and structure layouts, so
// that code written for Windows compiles unchanged. This umbrella is for the dialog code and the
// framework; the layers below include only the families they use (platform/win32/*.h):
//   base.h      types, handles, access rights, status codes
//   registry.h  advapi32 registry calls and this platform's registry extensions (zovplatform)
//   security.h  tokens, SIDs, privileges (zovplatform)
//   kernel.h    process, handles, environment, files, last error (zovplatform)
//   user.h      windows, dialogs, controls, message boxes (zovdialog)
#pragma once

#include "platform/win32/base.h"
#include "platform/win32/kernel.h"
#include "platform/win32/registry.h"
#include "platform/win32/security.h"
#include "platform/win32/user.h"
