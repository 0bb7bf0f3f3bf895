#include "platform/dialog/window.h"

#include <cstring>

#include "platform/dialog/window_table.h"

namespace zov {

Window::Window(WindowKind kind, int id, DWORD style, DWORD exStyle, std::string text)
    : kind_(kind), id_(id), style_(style), exStyle_(exStyle), text_(std::move(text)) {
    WindowTable::Add(this);
}

Window::~Window() {
    WindowTable::Remove(this);
}

void Window::SetEnabled(bool enabled) {
    if (enabled) {
        style_ &= ~static_cast<DWORD>(WS_DISABLED);
    } else {
        style_ |= WS_DISABLED;
    }
}

LRESULT Window::CopyOut(const std::string& text, WPARAM size, LPARAM buffer) {
    char* out = reinterpret_cast<char*>(buffer);
    if (out == nullptr || size == 0) {
        return 0;
    }
    const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(out, text.data(), count);
    out[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT Window::Message(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SETTEXT: {
            const char* text = reinterpret_cast<const char*>(lParam);
            text_ = text != nullptr ? text : "";
            TextChanged();
            return TRUE;
        }
        case WM_GETTEXT:
            return CopyOut(text_, wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(text_.size());
        default:
            return 0;
    }
}

CursorPosition Window::Cursor(const ControlLook& look) const {
    CursorPosition cursor;
    cursor.visible = true;
    cursor.x = look.originX + rect_.x;
    cursor.y = look.originY + rect_.y;
    return cursor;
}

}  // namespace zov
