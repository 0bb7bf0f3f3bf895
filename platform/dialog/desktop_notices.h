// What the desktop itself says, outside any dialog: the notice that the terminal is too small for
// the active dialog.
#pragma once

#include "platform/dialog/dialog.h"
#include "platform/dialog/painter.h"

namespace zov {

// Wrapped to the screen's width, so that a narrow terminal still shows the size needed and the
// way out; centred, or from the top when it is taller than the screen.
void DrawTooSmallNotice(Painter& painter, const Dialog& dialog, int screenWidth, int screenHeight);

}  // namespace zov
