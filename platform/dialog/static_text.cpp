#include "platform/dialog/static_text.h"

#include "platform/dialog/painter.h"

namespace zov {

StaticText::StaticText(const ControlTemplate& control)
    : Window(WindowKind::Static, control.id, control.style, control.exStyle, control.text) {}

LabelText StaticText::Label() const {
    LabelText label = LabelText::Parse(Text(), (Style() & SS_NOPREFIX) == 0);
    return narrowBlanks_ ? label.NarrowBlanks() : label;
}

void StaticText::Draw(Painter& painter, const ControlLook& look) const {
    const CellRole role = Enabled() ? role_ : CellRole::Disabled;
    const DWORD type = Style() & SS_TYPEMASK;
    const LabelText label = Label();
    const CellRect area = Rect().Offset(look.originX, look.originY);
    auto drawLine = [&](int row, const std::string& line, int underline) {
        int x = area.x;
        const int spare = area.width - static_cast<int>(line.size());
        if (spare > 0 && type == SS_CENTER) {
            x += spare / 2;
        } else if (spare > 0 && type == SS_RIGHT) {
            x += spare;
        }
        painter.Text(x, row, line, role, underline);
    };
    if (!multiLine_) {
        drawLine(area.y, label.shown, label.underline);
        return;
    }
    const LabelText::Wrapped wrapped = label.Wrap(area.width);
    for (std::size_t i = 0; i < wrapped.lines.size(); ++i) {
        const int line = static_cast<int>(i);
        drawLine(area.y + line, wrapped.lines[i],
                 line == wrapped.underlineLine ? wrapped.underlineColumn : -1);
    }
}

}  // namespace zov
