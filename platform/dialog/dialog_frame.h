// A dialog window as the desktop draws it: face, frame, the title bar with its caption and close
// box, the controls, and the shadow of the 3-D look. Windows other than the active one (a modal
// dialog's disabled owner) get an inactive title bar and close box, as the platform draws them.
#pragma once

#include "platform/dialog/cell_rect.h"
#include "platform/dialog/dialog.h"
#include "platform/dialog/painter.h"

namespace zov {

// The close box's cells in the title bar.
CellRect CloseBoxRect(const Dialog& dialog);

void DrawDialogWindow(Painter& painter, const Dialog& dialog, bool active, bool threeD);

}  // namespace zov
