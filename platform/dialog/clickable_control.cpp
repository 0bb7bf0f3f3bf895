#include "platform/dialog/clickable_control.h"

namespace zov {

ClickableControl::ClickableControl(WindowKind kind, const ControlTemplate& control)
    : Window(kind, control.id, control.style, control.exStyle, control.text) {}

bool ClickableControl::Key(const KeyEvent& key) {
    if (key.key == Key::Character && key.ch == U' ' && !key.alt && !key.ctrl) {
        Click();
        return true;
    }
    return false;
}

void ClickableControl::Mouse(const MouseEvent& mouse, int x, int y) {
    const bool inside = x >= 0 && y == 0 && x < Rect().width;
    if (mouse.action == MouseAction::Press && mouse.button == 1) {
        pressed_ = inside;
    } else if (mouse.action == MouseAction::Release && mouse.button == 1) {
        const bool fire = pressed_ && inside;
        pressed_ = false;
        if (fire) {
            Click();
        }
    }
}

}  // namespace zov
