// Where the focus goes in a dialog, by Windows' rules: Tab over WS_TABSTOP controls in template
// order, arrows within a group (a WS_GROUP control starts one), mnemonics.
#pragma once

#include "platform/dialog/dialog.h"

namespace zov {

class DialogNavigation {
  public:
    // The next (previous) control with WS_TABSTOP that can take the focus, wrapping round;
    // from nullptr starts before the first (after the last) control. Returns from itself when
    // there is no other, nullptr when there is none at all.
    static Window* NextTabItem(const Dialog& dialog, Window* from, bool previous);
    // The next (previous) control of from's group that can take the focus, wrapping within the
    // group; from itself when there is no other.
    static Window* NextGroupItem(const Dialog& dialog, Window* from, bool previous);
    // Tab lands on a group of radio buttons on its checked button.
    static Window* TabEntry(const Dialog& dialog, Window* target);
    // The first enabled, visible control after the focus (wrapping) whose mnemonic is letter.
    static Window* MnemonicOwner(const Dialog& dialog, char letter);
    // The first and one-past-last index of the group that holds the control at index.
    static void GroupBounds(const Dialog& dialog, int index, int* first, int* end);
};

}  // namespace zov
