// An in-memory screen for tests: a fixed size, a queue of events the test pushes, and the grid
// last presented, readable as text lines, roles and a golden text.
//
// When the queue runs dry WaitEvent answers Hangup (and remembers that it did), so that a dialog
// that never ends makes its test fail instead of hanging it.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/terminal/terminal.h"

namespace zov {

class MemoryTerminal : public Terminal {
  public:
    MemoryTerminal(int width, int height);

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Present(const CellGrid& grid, const CursorPosition& cursor) override;
    Event WaitEvent() override;

    // Input. Events are delivered in the order they were pushed.
    void PushEvent(const Event& event);
    void PushKey(Key key, bool alt = false, bool shift = false);
    void PushCharacter(char32_t ch, bool alt = false);
    void PushText(std::string_view text);  // one Character event per byte
    void PushMouse(MouseAction action, int x, int y, int button = 1);
    void PushClick(int x, int y);  // press and release of the left button
    // The terminal takes the new size when the event is delivered, as a real one would.
    void PushResize(int width, int height);
    // Runs when the queue reaches it, between two events, e.g. to check state inside a modal loop.
    void PushCallback(std::function<void()> callback);

    bool RanDry() const { return ranDry_; }
    int PendingEvents() const { return static_cast<int>(queue_.size()); }
    int PresentCount() const { return presentCount_; }

    // The grid last presented (empty before the first Present).
    const CellGrid& Screen() const { return screen_; }
    CursorPosition Cursor() const { return cursor_; }
    std::string Line(int y) const;  // UTF-8, trailing blanks removed
    std::vector<std::string> Lines() const;
    std::string Text() const;  // all lines joined with '\n'
    CellRole RoleAt(int x, int y) const { return screen_.At(x, y).role; }
    bool UnderlineAt(int x, int y) const { return screen_.At(x, y).underline; }
    char32_t CharAt(int x, int y) const { return screen_.At(x, y).ch; }
    // The first cell (row by row) where text (UTF-8) starts on the screen; false when not shown.
    bool Find(std::string_view text, int* x, int* y) const;

    // The screen as a golden text: the lines, a line "--", then one line per row that marks
    // the cells a reader cares about: F focused control, D default button, - disabled, S the
    // selected row of the focused list, s that of an unfocused one, _ mnemonic underline (it
    // wins over the others).
    std::string Golden() const;
    static char RoleMark(const Cell& cell);

  private:
    using Entry = std::variant<Event, std::function<void()>>;
    int width_;
    int height_;
    std::deque<Entry> queue_;
    bool ranDry_ = false;
    int presentCount_ = 0;
    CellGrid screen_;
    CursorPosition cursor_;
};

}  // namespace zov
