// What the dialog manager offers beyond the Win32 calls of platform/win32.h: the terminal to
// show dialogs on, the 3-D look switch, and the note the desktop shows below the first dialog.
#pragma once

#include <string>

#include "platform/terminal/terminal.h"
#include "platform/win32.h"

namespace zov {

// The terminal every dialog is drawn on and reads its input from (the application attaches the
// ncurses driver, tests an in-memory screen); nullptr detaches. The caller keeps it alive while
// attached. Without a terminal a modal dialog is cancelled as soon as it runs.
void AttachTerminal(Terminal* terminal);
Terminal* AttachedTerminal();

// The 3-D look: window shadows and raised push buttons. Off until switched on.
void SetThreeDimensionalLook(bool on);
bool ThreeDimensionalLook();

// One line of text on the desktop below the first dialog, outside every dialog; empty removes it.
void SetDesktopNote(const std::string& note);

}  // namespace zov
