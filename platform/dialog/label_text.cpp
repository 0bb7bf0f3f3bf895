#include "platform/dialog/label_text.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace zov {
namespace {

bool IsNumber(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// No line break between these two words.
bool KeptTogether(std::string_view word, std::string_view next) {
    return IsNumber(word) ||
           (word == "x" && !next.empty() && std::isdigit(static_cast<unsigned char>(next[0])) != 0);
}

}  // namespace

LabelText LabelText::Parse(const std::string& text, bool prefix) {
    LabelText label;
    if (!prefix) {
        label.shown = text;
        return label;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&' && label.underline < 0) {
                label.underline = static_cast<int>(label.shown.size());
                label.mnemonic =
                    static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
            }
        } else if (text[i] == '&') {
            continue;  // a lone '&' at the end shows nothing
        }
        label.shown.push_back(text[i]);
    }
    return label;
}

LabelText LabelText::NarrowBlanks() const {
    LabelText narrow;
    narrow.mnemonic = mnemonic;
    int dialogUnits = 0;
    bool inWord = false;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const char c = shown[i];
        if (c == ' ') {
            dialogUnits += 2;
            inWord = false;
            continue;
        }
        if (!inWord) {
            int column = dialogUnits / 4;
            if (!narrow.shown.empty()) {
                column = std::max(column, static_cast<int>(narrow.shown.size()) + 1);
            }
            narrow.shown.append(static_cast<std::size_t>(column) - narrow.shown.size(), ' ');
            inWord = true;
        }
        if (static_cast<int>(i) == underline) {
            narrow.underline = static_cast<int>(narrow.shown.size());
        }
        narrow.shown.push_back(c);
        dialogUnits += 4;
    }
    return narrow;
}

LabelText::Wrapped LabelText::Wrap(int width) const {
    Wrapped wrapped;
    if (width < 1) {
        width = 1;
    }
    std::string line;
    int lineStart = 0;  // index in shown of line[0]
    auto flush = [&](int nextStart) {
        if (underline >= lineStart && underline < lineStart + static_cast<int>(line.size())) {
            wrapped.underlineLine = static_cast<int>(wrapped.lines.size());
            wrapped.underlineColumn = underline - lineStart;
        }
        wrapped.lines.push_back(line);
        line.clear();
        lineStart = nextStart;
    };
    std::size_t i = 0;
    while (i < shown.size()) {
        if (shown[i] == '\n') {
            flush(static_cast<int>(i) + 1);
            ++i;
            continue;
        }
        // The next word with the blanks before it.
        std::size_t end = i;
        while (end < shown.size() && shown[end] == ' ') {
            ++end;
        }
        const std::size_t pieceStart = end;
        std::size_t wordStart = end;
        while (end < shown.size() && shown[end] != ' ' && shown[end] != '\n') {
            ++end;
        }
        // A number stays with its unit ("8 Ports"), a size with its parts ("56 x 13"), as long
        // as together they fit on a line.
        while (end + 1 < shown.size() && shown[end] == ' ' && shown[end + 1] != ' ' &&
               shown[end + 1] != '\n') {
            std::size_t nextEnd = end + 1;
            while (nextEnd < shown.size() && shown[nextEnd] != ' ' && shown[nextEnd] != '\n') {
                ++nextEnd;
            }
            const std::string_view view(shown);
            if (!KeptTogether(view.substr(wordStart, end - wordStart),
                              view.substr(end + 1, nextEnd - end - 1)) ||
                static_cast<int>(nextEnd - pieceStart) > width) {
                break;
            }
            wordStart = end + 1;
            end = nextEnd;
        }
        const std::string piece = shown.substr(i, end - i);
        if (static_cast<int>(line.size() + piece.size()) <= width) {
            line += piece;
            i = end;
            continue;
        }
        if (!line.empty()) {
            // Break before the word; the blanks at the break are dropped.
            std::size_t firstLetter = i;
            while (firstLetter < end && shown[firstLetter] == ' ') {
                ++firstLetter;
            }
            flush(static_cast<int>(firstLetter));
            i = firstLetter;
            continue;
        }
        // A word wider than the line: cut it.
        std::size_t take = static_cast<std::size_t>(width);
        line = shown.substr(i, take);
        i += take;
        flush(static_cast<int>(i));
    }
    if (!line.empty() || wrapped.lines.empty() || (!shown.empty() && shown.back() == '\n')) {
        flush(static_cast<int>(shown.size()));
    }
    return wrapped;
}

int LabelText::LongestWord() const {
    int longest = 0;
    int current = 0;
    for (char c : shown) {
        if (c == ' ' || c == '\n') {
            current = 0;
        } else {
            longest = std::max(longest, ++current);
        }
    }
    return longest;
}

}  // namespace zov
