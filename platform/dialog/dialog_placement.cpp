#include "platform/dialog/dialog_placement.h"

#include <algorithm>

namespace zov {

CellRect PlaceDialog(const Dialog& dialog, int screenWidth, int screenHeight) {
    const int width = dialog.WindowWidth();
    const int height = dialog.WindowHeight();
    const Dialog* owner = dialog.Owner();
    int x = 0;
    int y = 0;
    if (dialog.CentredOnOwner()) {
        if (owner != nullptr) {
            x = owner->Rect().x + (owner->Rect().width - width) / 2;
            y = owner->Rect().y + (owner->Rect().height - height) / 2;
        } else {
            x = (screenWidth - width) / 2;
            y = (screenHeight - height) / 2;
        }
    } else {
        x = dialog.TemplateColumn() + (owner != nullptr ? owner->ClientOriginX() : 0);
        y = dialog.TemplateRow() + (owner != nullptr ? owner->ClientOriginY() : 0);
    }
    x = std::max(std::min(x, screenWidth - width), 0);
    y = std::max(std::min(y, screenHeight - height), 0);
    return {x, y, width, height};
}

bool DialogTooLarge(const Dialog& dialog, int screenWidth, int screenHeight) {
    return dialog.WindowWidth() > screenWidth || dialog.WindowHeight() > screenHeight;
}

}  // namespace zov
