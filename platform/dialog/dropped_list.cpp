#include "platform/dialog/dropped_list.h"

namespace zov {

ComboBox* DroppedCombo(const Dialog& dialog) {
    Window* focus = dialog.Focus();
    if (focus != nullptr && focus->Kind() == WindowKind::ComboBox &&
        static_cast<ComboBox*>(focus)->Dropped()) {
        return static_cast<ComboBox*>(focus);
    }
    return nullptr;
}

CellRect DroppedListRect(const Dialog& dialog, const ComboBox& combo, int screenWidth,
                         int screenHeight) {
    return combo.DroppedRect(dialog.ClientOriginX() + combo.Rect().x,
                             dialog.ClientOriginY() + combo.Rect().y, screenWidth, screenHeight);
}

}  // namespace zov
