// Takes mouse reports to the right place in the active modal dialog: a dropped-down list first,
// the close box, then the control under the mouse. A control that took a press gets the release
// wherever it happens; clicks outside the active dialog do nothing.
#pragma once

#include "platform/dialog/dialog.h"
#include "platform/terminal/event.h"

namespace zov {

class MouseRouter {
  public:
    void Route(Dialog& dialog, const MouseEvent& mouse, int screenWidth, int screenHeight);
    // The dialog is going away: a press on one of its controls no longer waits for a release.
    void Forget(const Dialog& dialog);

  private:
    HWND captured_ = nullptr;  // the control that took a mouse press, until the release
    bool closeBoxPressed_ = false;
};

}  // namespace zov
