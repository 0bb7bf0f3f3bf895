// Process, handles, environment, files and the last error (kernel32), defined in zovplatform.
#pragma once

#include "platform/win32/base.h"

HANDLE GetCurrentProcess(void);
BOOL CloseHandle(HANDLE hObject);
DWORD GetLastError(void);
void SetLastError(DWORD dwErrCode);
DWORD GetEnvironmentVariableA(LPCSTR lpName, LPSTR lpBuffer, DWORD nSize);
BOOL DeleteFileA(LPCSTR lpFileName);
