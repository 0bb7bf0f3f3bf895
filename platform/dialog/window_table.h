// The table of live windows. Every HWND that comes in through the Win32 calls is looked up here
// first, so that a stale or garbage handle gives the Win32 failure instead of a crash.
#pragma once

#include "platform/win32.h"

namespace zov {

class Window;

class WindowTable {
  public:
    static void Add(Window* window);
    static void Remove(Window* window);
    // The window behind the handle, or nullptr (with ERROR_INVALID_WINDOW_HANDLE as the last
    // error) when the handle is not a live window.
    static Window* Find(HWND hwnd);
    static bool Contains(HWND hwnd);
};

}  // namespace zov
