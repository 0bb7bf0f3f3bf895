// Where a dialog goes on the screen: centred over its owner (or the screen) when its template
// asks for it, else at its template position in the owner's client area; always kept on the
// screen, a dialog larger than the screen at its top left corner.
#pragma once

#include "platform/dialog/cell_rect.h"
#include "platform/dialog/dialog.h"

namespace zov {

CellRect PlaceDialog(const Dialog& dialog, int screenWidth, int screenHeight);

// The dialog cannot be shown whole on a screen of this size.
bool DialogTooLarge(const Dialog& dialog, int screenWidth, int screenHeight);

}  // namespace zov
