// The vertical scroll bar of lists: arrows at both ends, a track and a thumb.
#pragma once

#include "platform/dialog/painter.h"

namespace zov {

class ScrollBar {
  public:
    static void Draw(Painter& painter, int x, int y, int height, int top, int count, int rows,
                     bool enabled);
    // Rows to scroll for a click at offset row of a bar of this height: the arrows scroll by
    // one, the track by a page.
    static int ClickDelta(int row, int height, int top, int count, int rows);
};

}  // namespace zov
