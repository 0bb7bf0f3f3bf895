// Writes the dialog manager's cell grid to curses' screen: each cell's role as the terminal's
// attributes and colours, each character as itself, a line-drawing glyph or ASCII.
#pragma once

#include "platform/terminal/cell_grid.h"
#include "platform/terminal/curses_looks.h"
#include "platform/terminal/glyph_mapper.h"

namespace zov {

// Draws the grid over the whole of stdscr (cells outside the grid blank), not yet shown.
void DrawGrid(const CellGrid& grid, const CursesLooks& looks, const GlyphMapper& glyphs);

}  // namespace zov
