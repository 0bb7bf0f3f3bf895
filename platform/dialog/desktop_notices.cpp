#include "platform/dialog/desktop_notices.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/dialog/label_text.h"
#include "platform/format.h"

namespace zov {

void DrawTooSmallNotice(Painter& painter, const Dialog& dialog, int screenWidth, int screenHeight) {
    const std::string notice = FormatText(
        "The terminal is too small: this dialog needs %d x %d.\n"
        "Enlarge it, or press Escape to cancel.",
        dialog.WindowWidth(), dialog.WindowHeight());
    const std::vector<std::string> lines = LabelText::Parse(notice, false).Wrap(screenWidth).lines;
    int y = std::max((screenHeight - static_cast<int>(lines.size())) / 2, 0);
    for (const std::string& line : lines) {
        painter.Text(std::max((screenWidth - static_cast<int>(line.size())) / 2, 0), y++, line,
                     CellRole::Notice);
    }
}

}  // namespace zov
