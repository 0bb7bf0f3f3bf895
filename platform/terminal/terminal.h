// What the dialog manager needs of a terminal: its size, a way to show a drawn grid with the
// cursor on the focused control, and the next input event. The ncurses driver and the in-memory
// screen of the tests both implement it; nothing above this interface includes curses.
#pragma once

#include "platform/terminal/cell_grid.h"
#include "platform/terminal/event.h"

namespace zov {

struct CursorPosition {
    bool visible = false;
    int x = 0;
    int y = 0;
};

class Terminal {
  public:
    virtual ~Terminal() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Shows the grid (its size is the terminal's at the time of drawing) and puts the hardware
    // cursor where the focused control wants it.
    virtual void Present(const CellGrid& grid, const CursorPosition& cursor) = 0;

    // Blocks until the next event. Returns Event::Type::Hangup once input has ended; from then on
    // every call returns Hangup again.
    virtual Event WaitEvent() = 0;
};

}  // namespace zov
