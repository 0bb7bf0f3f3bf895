// A rectangle of terminal cells: left, top, width and height.
#pragma once

namespace zov {

struct CellRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int Right() const { return x + width; }    // one past the last column
    int Bottom() const { return y + height; }  // one past the last row
    bool Contains(int px, int py) const {
        return px >= x && py >= y && px < Right() && py < Bottom();
    }
    bool Intersects(const CellRect& other) const {
        return x < other.Right() && other.x < Right() && y < other.Bottom() && other.y < Bottom();
    }
    CellRect Offset(int dx, int dy) const { return {x + dx, y + dy, width, height}; }
};

}  // namespace zov
