#include "platform/dialog/scroll_bar.h"

#include <algorithm>

namespace zov {
namespace {

// Track row of the thumb, from 0 to trackHeight - 1.
int ThumbRow(int trackHeight, int top, int count, int rows) {
    const int range = count - rows;
    if (range <= 0 || trackHeight <= 1) {
        return 0;
    }
    return std::clamp(top * (trackHeight - 1) / range, 0, trackHeight - 1);
}

}  // namespace

void ScrollBar::Draw(Painter& painter, int x, int y, int height, int top, int count, int rows,
                     bool enabled) {
    if (height <= 0) {
        return;
    }
    const CellRole role = enabled ? CellRole::ScrollBar : CellRole::Disabled;
    if (height < 3) {
        painter.Put(x, y, U'▲', role);
        painter.Put(x, y + height - 1, U'▼', role);
        return;
    }
    painter.Put(x, y, U'▲', role);
    painter.Put(x, y + height - 1, U'▼', role);
    const int track = height - 2;
    for (int row = 0; row < track; ++row) {
        painter.Put(x, y + 1 + row, U'░', role);
    }
    painter.Put(x, y + 1 + ThumbRow(track, top, count, rows), U'█', role);
}

int ScrollBar::ClickDelta(int row, int height, int top, int count, int rows) {
    if (row <= 0) {
        return -1;
    }
    if (row >= height - 1) {
        return 1;
    }
    const int thumb = 1 + ThumbRow(height - 2, top, count, rows);
    const int page = std::max(rows - 1, 1);
    return row < thumb ? -page : (row > thumb ? page : 0);
}

}  // namespace zov
