// Drawing primitives over a CellGrid: characters, texts, fills and box frames, each with the
// role that decides its look. Text is the program's 8-bit text; every byte is one cell.
#pragma once

#include <string_view>

#include "platform/dialog/cell_rect.h"
#include "platform/terminal/cell_grid.h"

namespace zov {

class Painter {
  public:
    explicit Painter(CellGrid& grid) : grid_(grid) {}

    CellGrid& Grid() { return grid_; }
    void Put(int x, int y, char32_t ch, CellRole role, bool underline = false);
    // Writes text from x on row y; returns the column after the last cell written.
    int Text(int x, int y, std::string_view text, CellRole role, int underlineIndex = -1);
    void Fill(const CellRect& rect, char32_t ch, CellRole role);
    // A single-line frame on the rectangle's border.
    void Frame(const CellRect& rect, CellRole role);
    // Changes the role of cells already drawn (used for shadows and dimming).
    void SetRole(int x, int y, CellRole role);

    static char32_t FromByte(char c) {
        return static_cast<char32_t>(static_cast<unsigned char>(c));
    }

  private:
    CellGrid& grid_;
};

}  // namespace zov
