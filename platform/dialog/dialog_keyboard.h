// The keys of a modal dialog, as Windows' dialog manager handles them: an opened list first, then
// Tab, Escape and Enter, then the focused control, then arrows within a group and mnemonics.
#pragma once

#include "platform/dialog/dialog.h"
#include "platform/terminal/event.h"

namespace zov {

class DialogKeyboard {
  public:
    static void Handle(Dialog& dialog, const KeyEvent& key);
    // What a mnemonic does: a button is focused and clicked; a static text or group box hands
    // the focus on to the next control with a tab stop; any other control takes the focus.
    static void ActivateMnemonic(Dialog& dialog, Window* owner);

  private:
    static void Enter(Dialog& dialog);
};

}  // namespace zov
