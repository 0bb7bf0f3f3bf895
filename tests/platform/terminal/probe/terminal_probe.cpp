// Draws a known screen through the ncurses driver and lists every event it receives, so that the
// driver's tests can run it in a pseudo-terminal and read the screen back.
//
// Screen: row 0 a title bar "PROBE <width>x<height>"; rows 1-5 a framed box with text and two
// buttons; row 6 characters that need substitutes on poor terminals;
// row 7 "last: none", then "last: <number>: <event>" for the newest event; the bottom-right cell
// '@'. Cursor at column 5, row 2.
//
// Keys without modifiers end it: 'q' returns from main, 'x' calls exit(5). 'g' writes "GARBAGE" on
// row 10 behind the driver's back, as another program writing to the terminal would. At the end of
// input it exits 3 if the driver keeps reporting the end of input, else 4. Exit 2 when the driver
// cannot open, with the reason on stderr.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "event_text.h"
#include "platform/format.h"
#include "platform/terminal/curses_terminal.h"

namespace {

std::string Describe(const zov::Event& event, const zov::Terminal& terminal) {
    const std::string text = zov::test::EventText(event);
    if (event.type == zov::Event::Type::Resize) {
        return text + zov::FormatText(" size %dx%d", terminal.Width(), terminal.Height());
    }
    return event.type == zov::Event::Type::Key ? "key " + text : text;
}

void Put(zov::CellGrid& grid, int x, int y, const std::u32string& text, zov::CellRole role) {
    for (char32_t ch : text) {
        zov::Cell& cell = grid.At(x++, y);
        cell.ch = ch;
        cell.role = role;
    }
}

void Draw(zov::Terminal& terminal, const std::string& last) {
    using zov::CellRole;
    const int width = terminal.Width();
    const int height = terminal.Height();
    zov::CellGrid grid(width, height);
    std::string title = zov::FormatText("PROBE %dx%d", width, height);
    title.resize(static_cast<std::size_t>(width), ' ');  // the whole row is the title bar
    Put(grid, 0, 0, std::u32string(title.begin(), title.end()), CellRole::Title);
    Put(grid, 2, 1, U"┌────────────────┐", CellRole::Frame);
    Put(grid, 2, 2, U"│ Hello, wörld   │", CellRole::Window);
    Put(grid, 2, 3, U"╞════════════════╡", CellRole::Frame);
    Put(grid, 2, 4, U"│ [OK] [Cancel]  │", CellRole::Window);
    Put(grid, 2, 5, U"└────────────────┘", CellRole::Frame);
    Put(grid, 4, 4, U"[OK]", CellRole::ButtonFocused);
    Put(grid, 9, 4, U"[Cancel]", CellRole::ButtonDefault);
    grid.At(10, 4).underline = true;
    Put(grid, 2, 6, U"╱é→█\x01", CellRole::Disabled);
    const std::string last_line = "last: " + last;
    Put(grid, 0, 7, std::u32string(last_line.begin(), last_line.end()), CellRole::Desktop);
    grid.At(width - 1, height - 1).ch = U'@';
    terminal.Present(grid, zov::CursorPosition{true, 5, 2});
}

}  // namespace

int main() {
    std::string error;
    std::unique_ptr<zov::CursesTerminal> terminal = zov::CursesTerminal::Open(error);
    if (!terminal) {
        static_cast<void>(std::fprintf(stderr, "terminal_probe: %s\n", error.c_str()));
        return 2;
    }
    int count = 0;
    Draw(*terminal, "none");
    for (;;) {
        const zov::Event event = terminal->WaitEvent();
        if (event.type == zov::Event::Type::Hangup) {
            const bool again = terminal->WaitEvent().type == zov::Event::Type::Hangup;
            return again ? 3 : 4;
        }
        const std::string description = Describe(event, *terminal);
        Draw(*terminal, zov::FormatText("%d: %s", ++count, description.c_str()));
        if (event.type == zov::Event::Type::Key && event.key.key == zov::Key::Character &&
            !event.key.alt && !event.key.ctrl) {
            if (event.key.ch == U'q') {
                return 0;
            }
            if (event.key.ch == U'x') {
                std::exit(5);
            }
            if (event.key.ch == U'g') {
                static_cast<void>(std::fputs("\x1b[11;1HGARBAGE", stdout));
                static_cast<void>(std::fflush(stdout));
            }
        }
    }
}
