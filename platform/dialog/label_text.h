// The text of a control as it is shown: '&' prefixes removed (the character after a single '&'
// is the mnemonic and is underlined; "&&" shows one '&'), and the two ways a line can be set.
#pragma once

#include <string>
#include <vector>

namespace zov {

struct LabelText {
    std::string shown;
    int underline = -1;  // index in shown of the mnemonic character, -1 for none
    char mnemonic = 0;   // upper-cased mnemonic character, 0 for none

    static LabelText Parse(const std::string& text, bool prefix = true);

    // The line with its runs of blanks set as narrow as the dialog font sets them: a blank is
    // half a cell (2 of the cell's 4 horizontal dialog units), every other character one cell,
    // and a word never starts closer than one blank to the previous one. Words therefore stand
    // about where the dialog font puts them. A line without runs of blanks is unchanged.
    LabelText NarrowBlanks() const;

    // Lines of at most width cells, broken at blanks and at '\n' (a word longer than width is
    // cut). The mnemonic is tracked: lineOfUnderline/underline give its place.
    struct Wrapped {
        std::vector<std::string> lines;
        int underlineLine = -1;
        int underlineColumn = -1;
    };
    Wrapped Wrap(int width) const;

    int Width() const { return static_cast<int>(shown.size()); }
    // The width of the longest word (the least width a wrapped text can take).
    int LongestWord() const;
};

}  // namespace zov
