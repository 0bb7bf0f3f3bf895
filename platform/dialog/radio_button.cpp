#include "platform/dialog/radio_button.h"

#include "platform/dialog/control_roles.h"
#include "platform/dialog/dialog.h"
#include "platform/dialog/painter.h"

namespace zov {

RadioButton::RadioButton(const ControlTemplate& control)
    : ClickableControl(WindowKind::RadioButton, control) {}

bool RadioButton::IsRadio() const {
    const DWORD type = Style() & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

void RadioButton::SetCheck(UINT check) {
    check_ = check;
    if (IsRadio()) {
        if (check == BST_CHECKED) {
            SetStyle(Style() | WS_TABSTOP);
        } else {
            SetStyle(Style() & ~static_cast<DWORD>(WS_TABSTOP));
        }
    }
}

void RadioButton::Click() {
    if (!Enabled()) {
        return;
    }
    const DWORD type = Style() & BS_TYPEMASK;
    if (type == BS_AUTORADIOBUTTON) {
        SetCheck(BST_CHECKED);
        if (Parent() != nullptr) {
            for (Window* other : Parent()->GroupOf(this)) {
                static_cast<RadioButton*>(other)->SetCheck(BST_UNCHECKED);
            }
        }
    } else if (type == BS_AUTOCHECKBOX) {
        SetCheck(check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    } else if (type == BS_AUTO3STATE) {
        SetCheck((check_ + 1) % 3);
    }
    if (Parent() != nullptr) {
        Parent()->Notify(this, BN_CLICKED);
    }
}

LRESULT RadioButton::Message(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case BM_CLICK:
            Click();
            return 0;
        case BM_GETCHECK:
            return check_;
        case BM_SETCHECK:
            SetCheck(static_cast<UINT>(wParam) <= BST_INDETERMINATE ? static_cast<UINT>(wParam)
                                                                    : BST_CHECKED);
            return 0;
        case BM_GETSTATE:
            return check_ | (Pressed() ? BST_PUSHED : 0);
        default:
            return Window::Message(msg, wParam, lParam);
    }
}

void RadioButton::Draw(Painter& painter, const ControlLook& look) const {
    CellRole role = TextRole(*this);
    if (Enabled() && look.focused) {
        role = CellRole::ButtonFocused;
    }
    const CellRect area = Rect().Offset(look.originX, look.originY);
    const LabelText label = Label();
    char32_t mark = U' ';
    if (check_ == BST_CHECKED) {
        mark = IsRadio() ? U'•' : U'X';
    } else if (check_ == BST_INDETERMINATE) {
        mark = U'?';
    }
    painter.Put(area.x, area.y, IsRadio() ? U'(' : U'[', role);
    painter.Put(area.x + 1, area.y, mark, role);
    painter.Put(area.x + 2, area.y, IsRadio() ? U')' : U']', role);
    painter.Put(area.x + 3, area.y, U' ', role);
    painter.Text(area.x + 4, area.y, label.shown, role, label.underline);
}

CursorPosition RadioButton::Cursor(const ControlLook& look) const {
    CursorPosition cursor = Window::Cursor(look);
    cursor.x += 1;
    return cursor;
}

}  // namespace zov
