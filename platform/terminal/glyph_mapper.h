// Decides how one grid character reaches the screen: as itself when the terminal's character set
// can show it in one cell, else as a line-drawing (ACS) character the terminal has, else as
// plain ASCII, and as '?' when nothing fits. Half blocks (the shadows of push buttons) become
// shaded blanks instead of rows of '#'. Free of curses; the driver turns the ACS letter into
// the terminal's alternate-character-set glyph.
#pragma once

#include <string>

namespace zov {

struct Glyph {
    enum class Kind {
        Text,   // draw `text` as it is
        Acs,    // draw the alternate-character-set glyph named by `code` (a letter of acsc)
        Ascii,  // draw the ASCII character `code`
        Shade,  // a half block no character set has: a blank cell in the shadow's look
    };
    Kind kind = Kind::Ascii;
    char32_t text = 0;
    char code = '?';
};

class GlyphMapper {
  public:
    // `unicode`: the locale's character set is UTF-8, so every printable character can be sent.
    // Otherwise the locale's own character set decides what is printable as text.
    // `acs_letters`: the letters of the terminal's acsc capability (the glyphs it can draw).
    GlyphMapper(bool unicode, std::string acs_letters);

    Glyph Map(char32_t ch) const;

  private:
    bool Printable(char32_t ch) const;

    bool unicode_;
    std::string acs_letters_;
};

}  // namespace zov
