#include "platform/terminal/curses_drawing.h"

#include <array>

namespace zov {

void DrawGrid(const CellGrid& grid, const CursesLooks& looks, const GlyphMapper& glyphs) {
    const int width = COLS;
    const int height = LINES;
    const Cell blank{};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Cell& cell = grid.Contains(x, y) ? grid.At(x, y) : blank;
            const auto role = static_cast<std::size_t>(cell.role);
            attr_t attribute = A_NORMAL;
            short pair = 0;
            if (role < looks.attributes.size()) {
                attribute =
                    cell.underline ? looks.mnemonic_attributes[role] : looks.attributes[role];
                pair = cell.underline ? looks.mnemonic_pairs[role] : looks.pairs[role];
            }
            const Glyph glyph = glyphs.Map(cell.ch);
            std::array<wchar_t, 2> text = {L'?', L'\0'};
            switch (glyph.kind) {
                case Glyph::Kind::Text:
                    text[0] = static_cast<wchar_t>(glyph.text);
                    break;
                case Glyph::Kind::Acs: {
                    const chtype acs = NCURSES_ACS(glyph.code);
                    text[0] = static_cast<wchar_t>(acs & A_CHARTEXT);
                    attribute |= static_cast<attr_t>(acs & A_ATTRIBUTES & ~A_COLOR);
                    break;
                }
                case Glyph::Kind::Ascii:
                    text[0] = static_cast<wchar_t>(static_cast<unsigned char>(glyph.code));
                    break;
                case Glyph::Kind::Shade:
                    // The role's background shows the shade; without colours, reverse video.
                    text[0] = L' ';
                    attribute |= pair == 0 ? A_REVERSE : A_NORMAL;
                    break;
            }
            cchar_t drawn{};
            setcchar(&drawn, text.data(), attribute, pair, nullptr);
            // The bottom-right cell reports an error (the cursor cannot move past it) but is
            // drawn all the same.
            mvwadd_wch(stdscr, y, x, &drawn);
        }
    }
}

}  // namespace zov
