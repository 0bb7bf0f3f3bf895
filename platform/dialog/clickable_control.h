// A control that the user clicks: it fires on Space, and when the left mouse button is released
// over it after a press on it (a press that slides off does nothing, as on Windows).
#pragma once

#include "platform/dialog/resource.h"
#include "platform/dialog/window.h"

namespace zov {

class ClickableControl : public Window {
  public:
    ClickableControl(WindowKind kind, const ControlTemplate& control);

    virtual void Click() = 0;

    bool CanTakeFocus() const override { return Enabled() && Visible(); }
    bool Key(const KeyEvent& key) override;
    void Mouse(const MouseEvent& mouse, int x, int y) override;

  protected:
    // Between a press of the mouse button on the control and its release (BST_PUSHED).
    bool Pressed() const { return pressed_; }
    void SetPressed(bool pressed) { pressed_ = pressed; }

  private:
    bool pressed_ = false;
};

}  // namespace zov
