#include "platform/dialog/edit_box.h"

#include <algorithm>

#include "platform/dialog/control_roles.h"
#include "platform/dialog/painter.h"

namespace zov {

EditBox::EditBox(const ControlTemplate& control)
    : Window(WindowKind::Edit, control.id, control.style, control.exStyle, control.text) {}

void EditBox::SetSelection(int start, int end) {
    const int length = Length();
    if (start == -1) {
        // Deselects; the caret stays where it is.
        selStart_ = selEnd_ = anchor_ = caret_;
        return;
    }
    if (end < 0 || end > length) {
        end = length;
    }
    start = std::clamp(start, 0, length);
    selStart_ = std::min(start, end);
    selEnd_ = std::max(start, end);
    anchor_ = start;
    caret_ = end;
    KeepCaretVisible();
}

void EditBox::TextChanged() {
    selStart_ = selEnd_ = caret_ = anchor_ = 0;
    scroll_ = 0;
}

LRESULT EditBox::Message(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case EM_LIMITTEXT:
            limit_ =
                wParam == 0 ? 0x7FFFFFFE : static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFE));
            return 0;
        case EM_GETLIMITTEXT:
            return limit_;
        case EM_SETSEL:
            SetSelection(static_cast<int>(static_cast<LONG_PTR>(wParam)), static_cast<int>(lParam));
            return 0;
        case EM_GETSEL: {
            if (auto* start = reinterpret_cast<DWORD*>(wParam)) {
                *start = static_cast<DWORD>(selStart_);
            }
            if (auto* end = reinterpret_cast<DWORD*>(lParam)) {
                *end = static_cast<DWORD>(selEnd_);
            }
            return MAKELONG(selStart_, selEnd_);
        }
        case EM_SETREADONLY:
            SetStyle(wParam != 0 ? (Style() | ES_READONLY)
                                 : (Style() & ~static_cast<DWORD>(ES_READONLY)));
            return TRUE;
        default:
            return Window::Message(msg, wParam, lParam);
    }
}

void EditBox::KeepCaretVisible() {
    const int width = VisibleWidth();
    if (caret_ < scroll_) {
        scroll_ = caret_;
    } else if (caret_ >= scroll_ + width) {
        scroll_ = caret_ - width + 1;
    }
    scroll_ = std::max(scroll_, 0);
}

void EditBox::MoveCaret(int to, bool extend) {
    caret_ = std::clamp(to, 0, Length());
    if (!extend) {
        anchor_ = caret_;
    }
    selStart_ = std::min(anchor_, caret_);
    selEnd_ = std::max(anchor_, caret_);
    KeepCaretVisible();
}

void EditBox::ReplaceSelection(const std::string& with) {
    std::string text = Text();
    text.replace(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selEnd_ - selStart_),
                 with);
    const int caret = selStart_ + static_cast<int>(with.size());
    SetTextRaw(std::move(text));
    MoveCaret(caret, false);
}

bool EditBox::Key(const KeyEvent& key) {
    if (key.alt || key.ctrl) {
        return false;
    }
    switch (key.key) {
        case Key::Left:
            MoveCaret(caret_ - 1, key.shift);
            return true;
        case Key::Right:
            MoveCaret(caret_ + 1, key.shift);
            return true;
        case Key::Home:
            MoveCaret(0, key.shift);
            return true;
        case Key::End:
            MoveCaret(Length(), key.shift);
            return true;
        case Key::Backspace:
        case Key::Delete:
            if (!ReadOnly()) {
                if (selStart_ == selEnd_) {
                    const int from = key.key == Key::Backspace ? caret_ - 1 : caret_;
                    if (from < 0 || from >= Length()) {
                        return true;
                    }
                    selStart_ = from;
                    selEnd_ = from + 1;
                }
                ReplaceSelection("");
            }
            return true;
        case Key::Character:
            if (key.ch < U' ' || key.ch > 0xFF) {
                return false;
            }
            if (!ReadOnly() && Length() - (selEnd_ - selStart_) < limit_) {
                ReplaceSelection(std::string(1, static_cast<char>(key.ch)));
            }
            return true;
        default:
            return false;
    }
}

void EditBox::Mouse(const MouseEvent& mouse, int x, int /*y*/) {
    if (mouse.action == MouseAction::Press && mouse.button == 1) {
        MoveCaret(scroll_ + std::max(x - 1, 0), false);
    }
}

void EditBox::FocusChanged(bool focused, bool viaKeyboard) {
    // A dialog selects an edit's whole text when the keyboard brings the focus to it.
    if (focused && viaKeyboard) {
        SetSelection(0, -1);
    }
}

void EditBox::Draw(Painter& painter, const ControlLook& look) const {
    const CellRect area = Rect().Offset(look.originX, look.originY);
    const CellRole face = FieldRole(*this, look);
    painter.Fill({area.x, area.y, area.width, 1}, U' ', face);
    const int width = VisibleWidth();
    for (int i = 0; i < width; ++i) {
        const int index = scroll_ + i;
        if (index >= Length()) {
            break;
        }
        const bool selected = look.focused && index >= selStart_ && index < selEnd_;
        painter.Put(area.x + 1 + i, area.y,
                    Painter::FromByte(Text()[static_cast<std::size_t>(index)]),
                    selected ? SelectionRole(look) : face);
    }
}

CursorPosition EditBox::Cursor(const ControlLook& look) const {
    CursorPosition cursor = Window::Cursor(look);
    cursor.x += 1 + std::clamp(caret_ - scroll_, 0, VisibleWidth() - 1);
    return cursor;
}

}  // namespace zov
