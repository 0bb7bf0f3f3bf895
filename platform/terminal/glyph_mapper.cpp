#include "platform/terminal/glyph_mapper.h"

#include <climits>
#include <cwchar>
#include <utility>

namespace zov {

namespace {

// A substitute for a drawing character: the acsc letter of the ACS glyph (0 when ACS has
// none) and the ASCII character that comes closest.
struct Substitute {
    char acs = 0;
    char ascii = '?';
};

bool In(char32_t ch, char32_t first, char32_t last) {
    return ch >= first && ch <= last;
}

// The box-drawing block U+2500..U+257F, light, heavy and double lines alike.
Substitute BoxDrawing(char32_t ch) {
    switch (ch) {
        case U'─':
        case U'━':
        case U'┄':
        case U'┅':
        case U'┈':
        case U'┉':
        case U'╌':
        case U'╍':
        case U'═':
        case U'╴':
        case U'╶':
        case U'╸':
        case U'╺':
        case U'╼':
        case U'╾':
            return {'q', '-'};
        case U'│':
        case U'┃':
        case U'┆':
        case U'┇':
        case U'┊':
        case U'┋':
        case U'╎':
        case U'╏':
        case U'║':
        case U'╵':
        case U'╷':
        case U'╹':
        case U'╻':
        case U'╽':
        case U'╿':
            return {'x', '|'};
        case U'╱':
            return {0, '/'};
        case U'╲':
            return {0, '\\'};
        case U'╳':
            return {0, 'X'};
        case U'╭':
            return {'l', '+'};
        case U'╮':
            return {'k', '+'};
        case U'╯':
            return {'j', '+'};
        case U'╰':
            return {'m', '+'};
        default:
            break;
    }
    if (In(ch, U'┌', U'┏') || In(ch, U'╒', U'╔')) {
        return {'l', '+'};
    }
    if (In(ch, U'┐', U'┓') || In(ch, U'╕', U'╗')) {
        return {'k', '+'};
    }
    if (In(ch, U'└', U'┗') || In(ch, U'╘', U'╚')) {
        return {'m', '+'};
    }
    if (In(ch, U'┘', U'┛') || In(ch, U'╛', U'╝')) {
        return {'j', '+'};
    }
    if (In(ch, U'├', U'┣') || In(ch, U'╞', U'╠')) {
        return {'t', '+'};
    }
    if (In(ch, U'┤', U'┫') || In(ch, U'╡', U'╣')) {
        return {'u', '+'};
    }
    if (In(ch, U'┬', U'┳') || In(ch, U'╤', U'╦')) {
        return {'w', '+'};
    }
    if (In(ch, U'┴', U'┻') || In(ch, U'╧', U'╩')) {
        return {'v', '+'};
    }
    return {'n', '+'};  // the crossings: ┼..╋ and ╪..╬
}

// Other characters a dialog draws with: blocks, shades, arrows, marks.
std::pair<bool, Substitute> Symbol(char32_t ch) {
    switch (ch) {
        case U'█':
        case U'▌':
        case U'▐':
        case U'■':
            return {true, {'0', '#'}};
        case U'░':  // a scroll bar's track: must not look like its thumb
            return {true, {'a', ':'}};
        case U'×':  // a close box: "[?]" would read as a help button
            return {true, {0, 'x'}};
        case U'▒':
        case U'▓':
            return {true, {'a', ':'}};
        case U'↑':
        case U'▲':
        case U'▴':
            return {true, {'-', '^'}};
        case U'↓':
        case U'▼':
        case U'▾':
            return {true, {'.', 'v'}};
        case U'←':
        case U'◄':
        case U'◀':
        case U'◂':
            return {true, {',', '<'}};
        case U'→':
        case U'►':
        case U'▶':
        case U'▸':
            return {true, {'+', '>'}};
        case U'◆':
        case U'♦':
            return {true, {'`', '+'}};
        case U'•':
        case U'●':
        case U'·':
            return {true, {'~', '*'}};
        case U'°':
            return {true, {'f', '\''}};
        case U'±':
            return {true, {'g', '#'}};
        case U'≤':
            return {true, {'y', '<'}};
        case U'≥':
            return {true, {'z', '>'}};
        case U'≠':
            return {true, {'|', '!'}};
        case U'π':
            return {true, {'{', '*'}};
        case U'£':
            return {true, {'}', 'f'}};
        case U'√':
        case U'✓':
        case U'✔':
            return {true, {0, 'x'}};
        case U'…':
            return {true, {0, '.'}};
        case U'–':
        case U'—':
            return {true, {0, '-'}};
        case U'‘':
        case U'’':
            return {true, {0, '\''}};
        case U'“':
        case U'”':
            return {true, {0, '"'}};
        default:
            return {false, {}};
    }
}

}  // namespace

GlyphMapper::GlyphMapper(bool unicode, std::string acs_letters)
    : unicode_(unicode), acs_letters_(std::move(acs_letters)) {}

bool GlyphMapper::Printable(char32_t ch) const {
    if (ch < 0x20 || In(ch, 0x7f, 0x9f) || ch > 0x10ffff || In(ch, 0xd800, 0xdfff)) {
        return false;  // control characters would steer the terminal instead of showing
    }
    if (ch < 0x7f) {
        return true;
    }
    const auto wide = static_cast<wchar_t>(ch);
    // A character that takes two cells, or none, would shift the rest of the row.
    if (wcwidth(wide) != 1) {
        return false;
    }
    if (unicode_) {
        return true;
    }
    std::string bytes(MB_LEN_MAX, '\0');
    std::mbstate_t state{};
    return wcrtomb(bytes.data(), wide, &state) != static_cast<std::size_t>(-1);
}

Glyph GlyphMapper::Map(char32_t ch) const {
    if (Printable(ch)) {
        return Glyph{Glyph::Kind::Text, ch, 0};
    }
    if (ch == U'▀' || ch == U'▄') {
        return Glyph{Glyph::Kind::Shade, 0, ' '};
    }
    Substitute substitute;
    if (In(ch, 0x2500, 0x257f)) {
        substitute = BoxDrawing(ch);
    } else if (auto [known, symbol] = Symbol(ch); known) {
        substitute = symbol;
    } else {
        return Glyph{Glyph::Kind::Ascii, 0, '?'};
    }
    if (substitute.acs != 0 && acs_letters_.find(substitute.acs) != std::string::npos) {
        return Glyph{Glyph::Kind::Acs, 0, substitute.acs};
    }
    return Glyph{Glyph::Kind::Ascii, 0, substitute.ascii};
}

}  // namespace zov
