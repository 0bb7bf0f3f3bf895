#include "platform/dialog/window_table.h"

#include <unordered_set>

#include "platform/dialog/window.h"

namespace zov {
namespace {

// Handles are compared as addresses only; nothing is dereferenced before it is found here.
std::unordered_set<const void*>& LiveWindows() {
    static std::unordered_set<const void*> live;
    return live;
}

}  // namespace

void WindowTable::Add(Window* window) {
    LiveWindows().insert(static_cast<HWND>(window));
}

void WindowTable::Remove(Window* window) {
    LiveWindows().erase(static_cast<HWND>(window));
}

bool WindowTable::Contains(HWND hwnd) {
    return hwnd != nullptr && LiveWindows().count(hwnd) != 0;
}

Window* WindowTable::Find(HWND hwnd) {
    if (!Contains(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return static_cast<Window*>(hwnd);
}

}  // namespace zov
