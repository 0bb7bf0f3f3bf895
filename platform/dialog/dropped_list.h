// The one control that reaches outside its dialog: a combo box's dropped-down list, drawn over
// everything and taking the mouse first while it is open.
#pragma once

#include "platform/dialog/cell_rect.h"
#include "platform/dialog/combo_box.h"
#include "platform/dialog/dialog.h"

namespace zov {

// The dialog's focused combo box while its list is dropped down, or nullptr.
ComboBox* DroppedCombo(const Dialog& dialog);

// Where the dropped-down list is on a screen of this size.
CellRect DroppedListRect(const Dialog& dialog, const ComboBox& combo, int screenWidth,
                         int screenHeight);

}  // namespace zov
