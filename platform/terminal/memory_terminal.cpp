#include "platform/terminal/memory_terminal.h"

#include <utility>

namespace zov {
namespace {

void AppendUtf8(std::string& out, char32_t ch) {
    const auto c = static_cast<uint32_t>(ch);
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// UTF-8 to code points; a byte that does not start a valid sequence stands for itself.
std::u32string DecodeUtf8(std::string_view text) {
    std::u32string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80           ? 1
                     : (lead >> 5) == 0x6  ? 2
                     : (lead >> 4) == 0xE  ? 3
                     : (lead >> 3) == 0x1E ? 4
                                           : 0;
        char32_t code = length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid || length == 1) {
            out.push_back(lead);
            ++i;
        } else {
            out.push_back(code);
            i += static_cast<std::size_t>(length);
        }
    }
    return out;
}

void TrimRight(std::string& line) {
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
}

}  // namespace

MemoryTerminal::MemoryTerminal(int width, int height)
    : width_(width > 0 ? width : 1), height_(height > 0 ? height : 1) {}

void MemoryTerminal::Present(const CellGrid& grid, const CursorPosition& cursor) {
    screen_ = grid;
    cursor_ = cursor;
    ++presentCount_;
}

Event MemoryTerminal::WaitEvent() {
    while (!queue_.empty()) {
        Entry entry = std::move(queue_.front());
        queue_.pop_front();
        if (auto* callback = std::get_if<std::function<void()>>(&entry)) {
            if (*callback) {
                (*callback)();
            }
            continue;
        }
        Event event = std::get<Event>(entry);
        if (event.type == Event::Type::Resize) {
            width_ = event.resize.width > 0 ? event.resize.width : 1;
            height_ = event.resize.height > 0 ? event.resize.height : 1;
        }
        return event;
    }
    ranDry_ = true;
    return Event::Hangup();
}

void MemoryTerminal::PushEvent(const Event& event) {
    queue_.emplace_back(event);
}

void MemoryTerminal::PushKey(Key key, bool alt, bool shift) {
    KeyEvent k;
    k.key = key;
    k.alt = alt;
    k.shift = shift;
    PushEvent(Event::FromKey(k));
}

void MemoryTerminal::PushCharacter(char32_t ch, bool alt) {
    KeyEvent k;
    k.key = Key::Character;
    k.ch = ch;
    k.alt = alt;
    PushEvent(Event::FromKey(k));
}

void MemoryTerminal::PushText(std::string_view text) {
    for (char c : text) {
        PushCharacter(static_cast<unsigned char>(c));
    }
}

void MemoryTerminal::PushMouse(MouseAction action, int x, int y, int button) {
    MouseEvent m;
    m.action = action;
    m.button = button;
    m.x = x;
    m.y = y;
    PushEvent(Event::FromMouse(m));
}

void MemoryTerminal::PushClick(int x, int y) {
    PushMouse(MouseAction::Press, x, y);
    PushMouse(MouseAction::Release, x, y);
}

void MemoryTerminal::PushResize(int width, int height) {
    PushEvent(Event::FromResize(width, height));
}

void MemoryTerminal::PushCallback(std::function<void()> callback) {
    queue_.emplace_back(std::move(callback));
}

std::string MemoryTerminal::Line(int y) const {
    std::string line;
    for (int x = 0; x < screen_.Width(); ++x) {
        AppendUtf8(line, screen_.At(x, y).ch);
    }
    TrimRight(line);
    return line;
}

std::vector<std::string> MemoryTerminal::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(screen_.Height()));
    for (int y = 0; y < screen_.Height(); ++y) {
        lines.push_back(Line(y));
    }
    return lines;
}

std::string MemoryTerminal::Text() const {
    std::string text;
    for (int y = 0; y < screen_.Height(); ++y) {
        text += Line(y);
        text += '\n';
    }
    return text;
}

bool MemoryTerminal::Find(std::string_view text, int* x, int* y) const {
    const std::u32string wanted = DecodeUtf8(text);
    if (wanted.empty()) {
        return false;
    }
    for (int row = 0; row < screen_.Height(); ++row) {
        for (int col = 0; col + static_cast<int>(wanted.size()) <= screen_.Width(); ++col) {
            bool match = true;
            for (std::size_t i = 0; i < wanted.size() && match; ++i) {
                match = screen_.At(col + static_cast<int>(i), row).ch == wanted[i];
            }
            if (match) {
                if (x != nullptr) {
                    *x = col;
                }
                if (y != nullptr) {
                    *y = row;
                }
                return true;
            }
        }
    }
    return false;
}

char MemoryTerminal::RoleMark(const Cell& cell) {
    if (cell.underline) {
        return '_';
    }
    switch (cell.role) {
        case CellRole::ButtonFocused:
        case CellRole::FieldFocused:
            return 'F';
        case CellRole::SelectionFocused:
            return 'S';
        case CellRole::ButtonDefault:
            return 'D';
        case CellRole::Disabled:
            return '-';
        case CellRole::Selection:
            return 's';
        default:
            return ' ';
    }
}

std::string MemoryTerminal::Golden() const {
    std::string golden = Text();
    golden += "--\n";
    for (int y = 0; y < screen_.Height(); ++y) {
        std::string marks;
        for (int x = 0; x < screen_.Width(); ++x) {
            marks.push_back(RoleMark(screen_.At(x, y)));
        }
        TrimRight(marks);
        golden += marks;
        golden += '\n';
    }
    return golden;
}

}  // namespace zov
