#include "platform/terminal/curses_terminal.h"

#include <curses.h>
#include <langinfo.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <deque>
#include <string_view>
#include <utility>

#include "platform/format.h"
#include "platform/terminal/curses_drawing.h"
#include "platform/terminal/curses_looks.h"
#include "platform/terminal/glyph_mapper.h"
#include "platform/terminal/input_translator.h"
#include "platform/terminal/terminal_signals.h"
#include "platform/terminal/terminfo_keys.h"
#include "platform/terminal/terminfo_probe.h"

// Ctrl+C: the tty stays in cbreak mode with ISIG on, so Ctrl+C raises SIGINT and the program
// ends like any Linux tool, with the terminal restored by the signal handler. Registry changes
// are transactional, so an interrupted change leaves nothing half-written. Ctrl+\ (SIGQUIT) does
// the same; Ctrl+Z suspends through ncurses' own SIGTSTP handling, which restores the terminal
// and redraws the screen on SIGCONT.
//
// Keys are decoded by the input translator from the bytes themselves, not by curses' keypad
// mode: curses would hand over the bytes of every sequence it does not know as typed characters.
// Meta mode is never switched on: Alt comes as an Escape prefix, and xterm's meta mode would
// outlive the program.

namespace zov {

namespace {

// Escape must answer at once, yet the rest of a sequence (or the key after Escape for Alt+key)
// must still arrive with it.
constexpr int kEscapeDelayMs = 25;
// Consecutive failed reads (not interrupted by a signal) that mean input has ended.
constexpr int kReadFailuresForHangup = 3;

constexpr mmask_t kMouseEvents = BUTTON1_PRESSED | BUTTON1_RELEASED | BUTTON2_PRESSED |
                                 BUTTON2_RELEASED | BUTTON3_PRESSED | BUTTON3_RELEASED |
                                 BUTTON4_PRESSED | BUTTON5_PRESSED;

CursesTerminal* g_open_terminal = nullptr;

void AtExit() {
    if (g_open_terminal != nullptr) {
        g_open_terminal->Close();
    }
}

}  // namespace

struct CursesTerminal::State {
    State(bool unicode, std::string acs_letters)
        : glyphs(unicode, std::move(acs_letters)), translator({}, unicode) {}

    SCREEN* screen = nullptr;
    bool open = false;
    bool input_ended = false;
    int read_failures = 0;
    int last_width = 0;
    int last_height = 0;
    int cursor_visibility = -1;
    GlyphMapper glyphs;
    CursesLooks looks;
    InputTranslator translator;
    std::deque<Event> events;
};

std::unique_ptr<CursesTerminal> CursesTerminal::Open(std::string& error) {
    if (g_open_terminal != nullptr) {
        error = "the terminal is already open";
        return nullptr;
    }
    if (isatty(STDIN_FILENO) == 0) {
        error = "standard input is not a terminal";
        return nullptr;
    }
    if (isatty(STDOUT_FILENO) == 0) {
        error = "standard output is not a terminal";
        return nullptr;
    }
    const char* type = std::getenv("TERM");
    if (type == nullptr || type[0] == '\0') {
        error = "the terminal type is unknown: TERM is not set";
        return nullptr;
    }
    // Only the character set follows the user's locale: numbers and collation stay "C", so that
    // nothing else in the program changes behaviour with the locale.
    if (std::setlocale(LC_CTYPE, "") == nullptr) {
        // A locale the system does not have: stay with "C", which means ASCII and ACS.
        static_cast<void>(std::setlocale(LC_CTYPE, "C"));
    }
    const bool unicode = std::string_view(nl_langinfo(CODESET)) == "UTF-8";

    std::string restore_bytes;
    if (!CheckTerminalType(type, error, restore_bytes)) {
        return nullptr;
    }
    termios original_modes{};
    if (tcgetattr(STDOUT_FILENO, &original_modes) != 0) {
        error = "cannot read the terminal's settings";
        return nullptr;
    }
    // Armed before ncurses starts, so that ncurses leaves SIGINT and SIGTERM to these handlers.
    TerminalSignals::Arm(STDOUT_FILENO, original_modes, restore_bytes);

    SCREEN* screen = newterm(type, stdout, stdin);
    if (screen == nullptr) {
        TerminalSignals::Disarm();
        error = FormatText("cannot initialise terminal type '%s'", type);
        return nullptr;
    }
    set_term(screen);

    auto state = std::make_unique<State>(unicode, AcsLetters());
    state->screen = screen;
    state->open = true;

    cbreak();
    noecho();
    nonl();
    intrflush(stdscr, FALSE);
    keypad(stdscr, FALSE);
    leaveok(stdscr, FALSE);
    scrollok(stdscr, FALSE);
    // Ctrl+S and Ctrl+Q are keys here, not flow control that would freeze the screen.
    termios modes{};
    if (tcgetattr(STDOUT_FILENO, &modes) == 0) {
        modes.c_iflag &= ~static_cast<tcflag_t>(IXON);
        tcsetattr(STDOUT_FILENO, TCSANOW, &modes);
        def_prog_mode();
    }
    state->looks = CursesLooks::SetUp();
    state->translator = InputTranslator(TerminfoKeySequences(), unicode);
    // curses switches mouse reports on and off (also around Ctrl+Z); the translator reads them.
    mouseinterval(0);
    mousemask(kMouseEvents, nullptr);
    state->last_width = COLS;
    state->last_height = LINES;

    static bool at_exit_registered = false;
    if (!at_exit_registered) {
        at_exit_registered = std::atexit(AtExit) == 0;
    }
    std::unique_ptr<CursesTerminal> terminal(new CursesTerminal(std::move(state)));
    g_open_terminal = terminal.get();
    return terminal;
}

CursesTerminal::CursesTerminal(std::unique_ptr<State> state) : state_(std::move(state)) {}

CursesTerminal::~CursesTerminal() {
    Close();
}

void CursesTerminal::Close() {
    if (!state_->open) {
        return;
    }
    state_->open = false;
    state_->last_width = COLS;
    state_->last_height = LINES;
    mousemask(0, nullptr);
    curs_set(1);
    endwin();
    TerminalSignals::Disarm();
    delscreen(state_->screen);
    state_->screen = nullptr;
    if (g_open_terminal == this) {
        g_open_terminal = nullptr;
    }
}

int CursesTerminal::Width() const {
    return state_->open ? COLS : state_->last_width;
}

int CursesTerminal::Height() const {
    return state_->open ? LINES : state_->last_height;
}

void CursesTerminal::Present(const CellGrid& grid, const CursorPosition& cursor) {
    if (!state_->open) {
        return;
    }
    DrawGrid(grid, state_->looks, state_->glyphs);
    const int visibility = cursor.visible ? 1 : 0;
    if (visibility != state_->cursor_visibility && curs_set(visibility) != ERR) {
        state_->cursor_visibility = visibility;
    }
    // The cursor goes where the focused control is even when hidden: screen readers follow it.
    const int width = COLS;
    const int height = LINES;
    const int cursor_x = std::clamp(cursor.x, 0, width > 0 ? width - 1 : 0);
    const int cursor_y = std::clamp(cursor.y, 0, height > 0 ? height - 1 : 0);
    wmove(stdscr, cursor_y, cursor_x);
    wnoutrefresh(stdscr);
    doupdate();
}

// Reads one byte (or a resize) into the event queue. While the translator holds the start of a
// sequence, waits only the escape delay for the rest.
void CursesTerminal::ReadSome() {
    const bool waiting = state_->translator.Waiting();
    wtimeout(stdscr, waiting ? kEscapeDelayMs : -1);
    errno = 0;
    const int input = wgetch(stdscr);
    if (input == ERR) {
        // A signal (SIGCONT, SIGHUP...) interrupts the read; end of input or a read error
        // repeats on every read. A timeout means the sequence is complete as it stands.
        const bool interrupted = errno == EINTR;
        if (waiting && !interrupted) {
            for (const Event& event : state_->translator.Flush()) {
                state_->events.push_back(event);
            }
        }
        if (!waiting && !interrupted && ++state_->read_failures >= kReadFailuresForHangup) {
            state_->input_ended = true;
        }
        return;
    }
    state_->read_failures = 0;
    if (input == KEY_RESIZE) {
        // Terminals rearrange their contents on resize: repaint everything next time.
        clearok(curscr, TRUE);
        state_->events.push_back(Event::FromResize(COLS, LINES));
        return;
    }
    if (input < 0 || input > 0xff) {
        return;  // no other curses key codes come without keypad mode
    }
    const char byte = static_cast<char>(static_cast<unsigned char>(input));
    for (const Event& event : state_->translator.Feed(std::string_view(&byte, 1))) {
        state_->events.push_back(event);
    }
}

Event CursesTerminal::WaitEvent() {
    while (state_->open && !state_->input_ended) {
        if (!state_->events.empty()) {
            const Event event = state_->events.front();
            state_->events.pop_front();
            if (event.type == Event::Type::Redraw) {
                // Something else wrote to the terminal: the next Present sends every cell.
                clearok(curscr, TRUE);
            }
            return event;
        }
        if (TerminalSignals::HangupReceived()) {
            state_->input_ended = true;
            break;
        }
        ReadSome();
    }
    return Event::Hangup();
}

}  // namespace zov
