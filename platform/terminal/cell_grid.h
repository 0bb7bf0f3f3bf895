// The screen as the dialog manager draws it: a grid of character cells, each with the role that
// decides its look. Roles, not colours: the terminal driver maps each role to colours or to
// monochrome attributes, and tests read the roles back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zov {

enum class CellRole : uint8_t {
    Desktop,           // the screen behind every window
    Window,            // a window's face and the text drawn on it
    Frame,             // a window's border
    Title,             // the title bar of the active window
    TitleInactive,     // the title bar of a window that is disabled by a modal one
    CloseBox,          // the close box in a title bar
    Shadow,            // the shadow a window casts
    GroupBox,          // a group box's frame and caption
    Button,            // a push button that does not have the focus
    ButtonDefault,     // the default push button, not focused
    ButtonFocused,     // the push button that has the focus
    Field,             // the face of a list, combo box or edit
    FieldFocused,      // the same, while the control has the focus
    Selection,         // the selected row of a list that does not have the focus
    SelectionFocused,  // the selected row of the focused list
    ScrollBar,         // a scroll bar's track and thumb
    Disabled,          // any part of a disabled control
    Notice,            // a message box's icon
};

struct Cell {
    char32_t ch = U' ';
    CellRole role = CellRole::Desktop;
    bool underline = false;  // a mnemonic character
};

class CellGrid {
  public:
    CellGrid() = default;
    CellGrid(int width, int height) { Resize(width, height); }

    void Resize(int width, int height) {
        width_ = width > 0 ? width : 0;
        height_ = height > 0 ? height : 0;
        cells_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), Cell{});
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Cells outside the grid read as a blank desktop cell and ignore writes.
    Cell& At(int x, int y) {
        if (!Contains(x, y)) {
            scratch_ = Cell{};
            return scratch_;
        }
        return cells_[Index(x, y)];
    }
    const Cell& At(int x, int y) const {
        static const Cell kOutside{};
        return Contains(x, y) ? cells_[Index(x, y)] : kOutside;
    }

  private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }
    int width_ = 0;
    int height_ = 0;
    std::vector<Cell> cells_;
    Cell scratch_;
};

}  // namespace zov
