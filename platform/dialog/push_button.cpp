#include "platform/dialog/push_button.h"

#include "platform/dialog/dialog.h"
#include "platform/dialog/painter.h"

namespace zov {

PushButton::PushButton(const ControlTemplate& control)
    : ClickableControl(WindowKind::PushButton, control) {}

void PushButton::Click() {
    if (Enabled() && Parent() != nullptr) {
        Parent()->Notify(this, BN_CLICKED);
    }
}

LRESULT PushButton::Message(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case BM_CLICK:
            Click();
            return 0;
        case BM_GETCHECK:
            return BST_UNCHECKED;
        case BM_GETSTATE:
            return Pressed() ? BST_PUSHED : 0;
        case BM_SETSTATE:
            SetPressed(wParam != 0);
            return 0;
        case BM_SETSTYLE:
            SetStyle((Style() & ~static_cast<DWORD>(BS_TYPEMASK)) |
                     (static_cast<DWORD>(wParam) & BS_TYPEMASK));
            return 0;
        default:
            return Window::Message(msg, wParam, lParam);
    }
}

int PushButton::LabelColumn() const {
    const int width = Label().Width();
    return (Rect().width - width) / 2;
}

void PushButton::Draw(Painter& painter, const ControlLook& look) const {
    CellRole role = CellRole::Button;
    if (!Enabled()) {
        role = CellRole::Disabled;
    } else if (look.focused) {
        role = CellRole::ButtonFocused;
    } else if (look.enterTarget) {
        role = CellRole::ButtonDefault;
    }
    const CellRect area = Rect().Offset(look.originX, look.originY);
    const LabelText label = Label();
    const int shift = Pressed() ? 1 : 0;  // a pressed button sinks into its shadow
    painter.Fill({area.x + shift, area.y, area.width, 1}, U' ', role);
    painter.Put(area.x + shift, area.y, U'[', role);
    painter.Put(area.Right() - 1 + shift, area.y, U']', role);
    painter.Text(area.x + LabelColumn() + shift, area.y, label.shown, role, label.underline);
    if (look.threeD && !Pressed()) {
        painter.Put(area.Right(), area.y, U'▄', CellRole::Shadow);
        for (int x = area.x + 1; x <= area.Right(); ++x) {
            painter.Put(x, area.y + 1, U'▀', CellRole::Shadow);
        }
    }
}

CursorPosition PushButton::Cursor(const ControlLook& look) const {
    CursorPosition cursor = Window::Cursor(look);
    cursor.x += LabelColumn();
    return cursor;
}

}  // namespace zov
