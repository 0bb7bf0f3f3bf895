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

void DrawDesktopNote(Painter& painter, const std::string& note, const CellRect& below, bool threeD,
                     int screenWidth, int screenHeight) {
    if (note.empty()) {
        return;
    }
    const int x = std::max(std::min(below.x, screenWidth - static_cast<int>(note.size())), 0);
    const std::vector<std::string> lines =
        LabelText::Parse(note, false).Wrap(screenWidth - x).lines;
    int y = below.Bottom() + (threeD ? 1 : 0);
    for (const std::string& line : lines) {
        if (y >= screenHeight) {
            break;
        }
        painter.Text(x, y++, line, CellRole::Desktop);
    }
}

}  // namespace zov
