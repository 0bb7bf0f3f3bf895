// The module that dialogs and icons are loaded from: the application's resources, set when the
// application starts (or by a test, to its own templates).
#pragma once

#include "platform/win32.h"

HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
