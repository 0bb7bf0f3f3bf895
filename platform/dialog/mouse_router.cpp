#include "platform/dialog/mouse_router.h"

#include "platform/dialog/dialog_frame.h"
#include "platform/dialog/dropped_list.h"
#include "platform/dialog/window_table.h"

namespace zov {

void MouseRouter::Forget(const Dialog& dialog) {
    if (WindowTable::Contains(captured_) && static_cast<Window*>(captured_)->Parent() == &dialog) {
        captured_ = nullptr;
    }
}

void MouseRouter::Route(Dialog& dialog, const MouseEvent& mouse, int screenWidth,
                        int screenHeight) {
    const int originX = dialog.ClientOriginX();
    const int originY = dialog.ClientOriginY();

    if (ComboBox* combo = DroppedCombo(dialog)) {
        const CellRect list = DroppedListRect(dialog, *combo, screenWidth, screenHeight);
        if (list.Contains(mouse.x, mouse.y)) {
            combo->DroppedMouse(mouse, mouse.x - list.x, mouse.y - list.y, list);
            return;
        }
        if (mouse.action == MouseAction::Press) {
            // A press anywhere else closes the list and does nothing more.
            combo->CloseUp(false);
            return;
        }
        if (mouse.action != MouseAction::Release) {
            return;
        }
    }

    if (mouse.action == MouseAction::Release) {
        if (closeBoxPressed_) {
            closeBoxPressed_ = false;
            if (CloseBoxRect(dialog).Contains(mouse.x, mouse.y)) {
                dialog.Message(WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return;
        }
        Window* captured =
            WindowTable::Contains(captured_) ? static_cast<Window*>(captured_) : nullptr;
        captured_ = nullptr;
        if (captured != nullptr && captured->Parent() == &dialog) {
            captured->Mouse(mouse, mouse.x - originX - captured->Rect().x,
                            mouse.y - originY - captured->Rect().y);
        }
        return;
    }

    if (!dialog.Rect().Contains(mouse.x, mouse.y)) {
        return;
    }
    if (mouse.action == MouseAction::Press && dialog.HasCloseBox() &&
        CloseBoxRect(dialog).Contains(mouse.x, mouse.y)) {
        closeBoxPressed_ = mouse.button == 1;
        return;
    }
    // The control under the mouse; statics and group boxes let clicks through.
    Window* hit = nullptr;
    for (const auto& control : dialog.Controls()) {
        if (control->Visible() && control->Kind() != WindowKind::Static &&
            control->Kind() != WindowKind::GroupBox &&
            control->Rect().Offset(originX, originY).Contains(mouse.x, mouse.y)) {
            hit = control.get();
            break;
        }
    }
    if (hit == nullptr || !hit->Enabled()) {
        return;
    }
    if (mouse.action == MouseAction::Press) {
        if (mouse.button != 1) {
            return;
        }
        if (hit->CanTakeFocus()) {
            dialog.SetFocusTo(hit, false);
        }
        captured_ = hit->Handle();
    }
    hit->Mouse(mouse, mouse.x - originX - hit->Rect().x, mouse.y - originY - hit->Rect().y);
}

}  // namespace zov
