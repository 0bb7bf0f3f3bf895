#include "platform/dialog/group_box.h"

#include "platform/dialog/painter.h"

namespace zov {

GroupBox::GroupBox(const ControlTemplate& control)
    : Window(WindowKind::GroupBox, control.id, control.style, control.exStyle, control.text) {}

void GroupBox::Draw(Painter& painter, const ControlLook& look) const {
    const CellRole role = Enabled() ? CellRole::GroupBox : CellRole::Disabled;
    const CellRect area = Rect().Offset(look.originX, look.originY);
    painter.Frame(area, role);
    const LabelText label = Label();
    if (label.shown.empty()) {
        return;
    }
    // The caption stands on the top line, a blank on either side.
    int x = area.x + 1;
    if ((Style() & BS_CENTER) == BS_CENTER) {
        x = area.x + (area.width - label.Width() - 2) / 2;
    } else if ((Style() & BS_RIGHT) != 0) {
        x = area.Right() - label.Width() - 3;
    }
    painter.Put(x, area.y, U' ', role);
    x = painter.Text(x + 1, area.y, label.shown, role, label.underline);
    painter.Put(x, area.y, U' ', role);
}

}  // namespace zov
