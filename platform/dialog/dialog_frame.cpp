#include "platform/dialog/dialog_frame.h"

#include <algorithm>
#include <string>

namespace zov {

CellRect CloseBoxRect(const Dialog& dialog) {
    const CellRect& r = dialog.Rect();
    return {r.Right() - 4, r.y, 3, 1};
}

void DrawDialogWindow(Painter& painter, const Dialog& dialog, bool active, bool threeD) {
    const CellRect& r = dialog.Rect();
    painter.Fill(r, U' ', CellRole::Window);
    painter.Frame(r, CellRole::Frame);

    // Title bar: the top line, the caption centred, the close box at the right.
    const CellRole title = active ? CellRole::Title : CellRole::TitleInactive;
    painter.Fill({r.x + 1, r.y, std::max(r.width - 2, 0), 1}, U' ', title);
    const int closeWidth = dialog.HasCloseBox() ? 4 : 0;
    std::string caption = dialog.Text();
    const int room = std::max(r.width - 4 - 2 * closeWidth, 0);
    if (static_cast<int>(caption.size()) > room) {
        caption.resize(static_cast<std::size_t>(room));
    }
    const int captionX = r.x + (r.width - static_cast<int>(caption.size())) / 2;
    painter.Text(captionX, r.y, caption, title);
    if (dialog.HasCloseBox()) {
        const CellRect box = CloseBoxRect(dialog);
        const CellRole closeBox = active ? CellRole::CloseBox : title;
        painter.Put(box.x, box.y, U'[', closeBox);
        painter.Put(box.x + 1, box.y, U'×', closeBox);
        painter.Put(box.x + 2, box.y, U']', closeBox);
    }

    ControlLook look;
    look.originX = dialog.ClientOriginX();
    look.originY = dialog.ClientOriginY();
    look.threeD = threeD;
    const Window* enterTarget = active ? dialog.EnterTarget() : nullptr;
    for (const auto& control : dialog.Controls()) {
        if (!control->Visible()) {
            continue;
        }
        look.focused = active && control.get() == dialog.Focus();
        look.enterTarget = control.get() == enterTarget;
        control->Draw(painter, look);
    }

    if (threeD) {
        // The shadow: two columns to the right and one row below, over what lies there.
        for (int y = r.y + 1; y <= r.Bottom(); ++y) {
            painter.SetRole(r.Right(), y, CellRole::Shadow);
            painter.SetRole(r.Right() + 1, y, CellRole::Shadow);
        }
        for (int x = r.x + 2; x < r.Right(); ++x) {
            painter.SetRole(x, r.Bottom(), CellRole::Shadow);
        }
    }
}

}  // namespace zov
