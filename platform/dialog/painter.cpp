#include "platform/dialog/painter.h"

namespace zov {

void Painter::Put(int x, int y, char32_t ch, CellRole role, bool underline) {
    if (!grid_.Contains(x, y)) {
        return;
    }
    Cell& cell = grid_.At(x, y);
    cell.ch = ch;
    cell.role = role;
    cell.underline = underline;
}

int Painter::Text(int x, int y, std::string_view text, CellRole role, int underlineIndex) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        Put(x + static_cast<int>(i), y, FromByte(text[i]), role,
            static_cast<int>(i) == underlineIndex);
    }
    return x + static_cast<int>(text.size());
}

void Painter::Fill(const CellRect& rect, char32_t ch, CellRole role) {
    for (int y = rect.y; y < rect.Bottom(); ++y) {
        for (int x = rect.x; x < rect.Right(); ++x) {
            Put(x, y, ch, role);
        }
    }
}

void Painter::Frame(const CellRect& rect, CellRole role) {
    if (rect.width < 2 || rect.height < 2) {
        return;
    }
    const int right = rect.Right() - 1;
    const int bottom = rect.Bottom() - 1;
    for (int x = rect.x + 1; x < right; ++x) {
        Put(x, rect.y, U'─', role);
        Put(x, bottom, U'─', role);
    }
    for (int y = rect.y + 1; y < bottom; ++y) {
        Put(rect.x, y, U'│', role);
        Put(right, y, U'│', role);
    }
    Put(rect.x, rect.y, U'┌', role);
    Put(right, rect.y, U'┐', role);
    Put(rect.x, bottom, U'└', role);
    Put(right, bottom, U'┘', role);
}

void Painter::SetRole(int x, int y, CellRole role) {
    if (grid_.Contains(x, y)) {
        grid_.At(x, y).role = role;
    }
}

}  // namespace zov
