// What the desktop itself says, outside any dialog: the notice that the terminal is too small for
// the active dialog, and a note below the first dialog (why its commands are off, for one).
#pragma once

#include <string>

#include "platform/dialog/cell_rect.h"
#include "platform/dialog/dialog.h"
#include "platform/dialog/painter.h"

namespace zov {

// Wrapped to the screen's width, so that a narrow terminal still shows the size needed and the
// way out; centred, or from the top when it is taller than the screen.
void DrawTooSmallNotice(Painter& painter, const Dialog& dialog, int screenWidth, int screenHeight);

// Below `below` (and its shadow), aligned with it, wrapped to the screen; the lines that find no
// room are left out rather than drawn over the dialog.
void DrawDesktopNote(Painter& painter, const std::string& note, const CellRect& below, bool threeD,
                     int screenWidth, int screenHeight);

}  // namespace zov
