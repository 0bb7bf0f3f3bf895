#include "platform/terminal/curses_terminal.h"

// term.h defines many lower-case macros (lines, columns, tab, key_*...): names below avoid them.
#include <curses.h>
#include <langinfo.h>
#include <term.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "platform/format.h"
#include "platform/terminal/glyph_mapper.h"
#include "platform/terminal/role_palette.h"
#include "platform/terminal/terminal_signals.h"

// Ctrl+C: the tty stays in cbreak mode with ISIG on, so Ctrl+C raises SIGINT and the program
// ends like any Linux tool, with the terminal restored by the signal handler. Registry changes
// are transactional, so an interrupted change leaves nothing half-written. Ctrl+\ (SIGQUIT) does
// the same; Ctrl+Z suspends through ncurses' own SIGTSTP handling, which restores the terminal
// and redraws the screen on SIGCONT.

namespace zov {

namespace {

// Escape must answer at once, yet an Alt+key sent as ESC plus the key must still arrive as one.
constexpr int kEscapeDelayMs = 25;
// Consecutive failed reads (not interrupted by a signal) that mean input has ended.
constexpr int kReadFailuresForHangup = 3;

constexpr mmask_t kMouseEvents = BUTTON1_PRESSED | BUTTON1_RELEASED | BUTTON2_PRESSED |
                                 BUTTON2_RELEASED | BUTTON3_PRESSED | BUTTON3_RELEASED |
                                 BUTTON4_PRESSED | BUTTON5_PRESSED;

CursesTerminal* g_open_terminal = nullptr;

// A string capability of the current terminal, or empty when it has none.
std::string Capability(const char* name) {
    char* value = tigetstr(name);
    // ncurses answers (char*)-1 for a name that is not a string capability.
    if (value == nullptr ||
        value == reinterpret_cast<char*>(-1)) {  // NOLINT(performance-no-int-to-ptr)
        return {};
    }
    return value;
}

// Expands a capability the way it is sent, padding included, into a string.
std::string* g_expansion = nullptr;
int AppendToExpansion(int ch) {
    g_expansion->push_back(static_cast<char>(ch));
    return ch;
}
std::string Expand(const std::string& capability) {
    std::string expanded;
    if (!capability.empty()) {
        g_expansion = &expanded;
        tputs(capability.c_str(), 1, AppendToExpansion);
        g_expansion = nullptr;
    }
    return expanded;
}

// What a fatal signal writes to put the terminal back: cancel any escape sequence cut short,
// mouse reporting off, attributes off, cursor visible, keypad off, leave the alternate screen.
std::string RestoreBytes() {
    std::string bytes = "\x18";
    const std::string mouse_switch = Capability("XM");
    if (!mouse_switch.empty()) {
        bytes += Expand(tiparm(mouse_switch.c_str(), 0));
    } else if (!Capability("kmous").empty()) {
        bytes += "\x1b[?1006;1000l";
    }
    for (const char* name : {"sgr0", "cnorm", "rmkx", "rmcup"}) {
        bytes += Expand(Capability(name));
    }
    return bytes;
}

// The letters of the glyphs the terminal can draw from its alternate character set.
std::string AcsLetters() {
    const std::string pairs = Capability("acsc");
    std::string letters;
    for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
        letters.push_back(pairs[i]);
    }
    return letters;
}

// Checks that TERM names a terminal this driver can drive, before anything is sent to it.
bool CheckTerminalType(const std::string& type, std::string& error, std::string& restore_bytes) {
    int status = 0;
    if (setupterm(type.c_str(), STDOUT_FILENO, &status) != OK) {
        error = status == -1 ? FormatText("no terminal description database for '%s'", type.c_str())
                             : FormatText("unknown terminal type '%s'", type.c_str());
        return false;
    }
    const bool addressable = !Capability("cup").empty() && !Capability("clear").empty();
    restore_bytes = RestoreBytes();
    del_curterm(cur_term);
    if (!addressable) {
        error = FormatText("terminal type '%s' cannot position the cursor", type.c_str());
        return false;
    }
    return true;
}

// Modifier suffixes of the extended key capabilities (kUP3, kLFT5...), as xterm defines them.
struct ModifiedKeys {
    const char* suffix;
    bool shift;
    bool alt;
    bool ctrl;
};
constexpr std::array kModifiers = {
    ModifiedKeys{"", true, false, false}, ModifiedKeys{"3", false, true, false},
    ModifiedKeys{"4", true, true, false}, ModifiedKeys{"5", false, false, true},
    ModifiedKeys{"6", true, false, true}, ModifiedKeys{"7", false, true, true},
    ModifiedKeys{"8", true, true, true},
};

}  // namespace

struct CursesTerminal::State {
    explicit State(bool unicode, std::string acs_letters)
        : glyphs(unicode, std::move(acs_letters)) {}

    SCREEN* screen = nullptr;
    bool open = false;
    bool input_ended = false;
    int read_failures = 0;
    int last_width = 0;
    int last_height = 0;
    int cursor_visibility = -1;
    GlyphMapper glyphs;
    std::array<attr_t, kCellRoleCount> role_attributes{};
    std::array<short, kCellRoleCount> role_pairs{};
    std::unordered_map<int, KeyEvent> keys;
    // Input read after an Escape that did not belong to it, handed out next.
    std::optional<std::pair<int, unsigned int>> pending;
};

namespace {

void SetUpLooks(std::array<attr_t, kCellRoleCount>& attributes,
                std::array<short, kCellRoleCount>& pairs) {
    const char* no_color = std::getenv("NO_COLOR");
    const bool colour_wanted = no_color == nullptr || no_color[0] == '\0';
    const bool colour = colour_wanted && has_colors() && start_color() == OK && COLORS >= 8 &&
                        COLOR_PAIRS > kCellRoleCount;
    for (int i = 0; i < kCellRoleCount; ++i) {
        const RoleLook look = LookOfRole(static_cast<CellRole>(i));
        attr_t attribute = A_NORMAL;
        if (colour) {
            auto foreground = static_cast<short>(look.foreground);
            if (look.bright && COLORS >= 16) {
                foreground = static_cast<short>(foreground + 8);
            } else if (look.bright) {
                attribute |= A_BOLD;
            }
            pairs[static_cast<std::size_t>(i)] = static_cast<short>(i + 1);
            init_pair(static_cast<short>(i + 1), foreground, static_cast<short>(look.background));
        } else {
            pairs[static_cast<std::size_t>(i)] = 0;
            attribute |= (look.mono & kMonoReverse) != 0 ? A_REVERSE : A_NORMAL;
            attribute |= (look.mono & kMonoBold) != 0 ? A_BOLD : A_NORMAL;
            attribute |= (look.mono & kMonoDim) != 0 ? A_DIM : A_NORMAL;
            attribute |= (look.mono & kMonoUnderline) != 0 ? A_UNDERLINE : A_NORMAL;
        }
        attributes[static_cast<std::size_t>(i)] = attribute;
    }
}

std::unordered_map<int, KeyEvent> KeyTable() {
    std::unordered_map<int, KeyEvent> table;
    auto add = [&table](int code, Key key, bool shift = false, bool alt = false,
                        bool ctrl = false) {
        if (code > 0) {
            table.emplace(code, KeyEvent{key, 0, alt, shift, ctrl});
        }
    };
    add(KEY_UP, Key::Up);
    add(KEY_DOWN, Key::Down);
    add(KEY_LEFT, Key::Left);
    add(KEY_RIGHT, Key::Right);
    add(KEY_HOME, Key::Home);
    add(KEY_END, Key::End);
    add(KEY_PPAGE, Key::PageUp);
    add(KEY_NPAGE, Key::PageDown);
    add(KEY_IC, Key::Insert);
    add(KEY_DC, Key::Delete);
    add(KEY_BTAB, Key::BackTab, true);
    add(KEY_ENTER, Key::Enter);
    add(KEY_BACKSPACE, Key::Backspace);
    // Keypad and vt220-style names for the same keys.
    add(KEY_A1, Key::Home);
    add(KEY_C1, Key::End);
    add(KEY_A3, Key::PageUp);
    add(KEY_C3, Key::PageDown);
    add(KEY_FIND, Key::Home);
    add(KEY_SELECT, Key::End);
    add(KEY_BEG, Key::Home);
    // Shifted keys with their own curses codes.
    add(KEY_SR, Key::Up, true);
    add(KEY_SF, Key::Down, true);
    add(KEY_SLEFT, Key::Left, true);
    add(KEY_SRIGHT, Key::Right, true);
    add(KEY_SHOME, Key::Home, true);
    add(KEY_SEND, Key::End, true);
    add(KEY_SPREVIOUS, Key::PageUp, true);
    add(KEY_SNEXT, Key::PageDown, true);
    add(KEY_SIC, Key::Insert, true);
    add(KEY_SDC, Key::Delete, true);
    // F1..F12, then the same with Shift (F13..F24) and Ctrl (F25..F36), as xterm numbers them.
    for (int n = 0; n < 12; ++n) {
        const auto key = static_cast<Key>(static_cast<int>(Key::F1) + n);
        add(KEY_F(1 + n), key);
        add(KEY_F(13 + n), key, true);
        add(KEY_F(25 + n), key, false, false, true);
    }
    // Modified cursor keys that ncurses knows only by their extended capability names.
    const std::array<std::pair<const char*, Key>, 10> bases = {{{"kUP", Key::Up},
                                                                {"kDN", Key::Down},
                                                                {"kLFT", Key::Left},
                                                                {"kRIT", Key::Right},
                                                                {"kHOM", Key::Home},
                                                                {"kEND", Key::End},
                                                                {"kPRV", Key::PageUp},
                                                                {"kNXT", Key::PageDown},
                                                                {"kIC", Key::Insert},
                                                                {"kDC", Key::Delete}}};
    for (const auto& [base, key] : bases) {
        for (const ModifiedKeys& modifier : kModifiers) {
            const std::string sequence = Capability((std::string(base) + modifier.suffix).c_str());
            if (!sequence.empty()) {
                add(key_defined(sequence.c_str()), key, modifier.shift, modifier.alt,
                    modifier.ctrl);
            }
        }
    }
    return table;
}

// Cursor keys come as ESC O x in keypad-transmit mode and as ESC [ x otherwise; terminals (and
// multiplexers) do not all honour the mode, so both forms are accepted.
void DefineCursorKeyTwins() {
    const std::array<std::pair<const char*, int>, 6> cursor_keys = {{{"kcuu1", KEY_UP},
                                                                     {"kcud1", KEY_DOWN},
                                                                     {"kcub1", KEY_LEFT},
                                                                     {"kcuf1", KEY_RIGHT},
                                                                     {"khome", KEY_HOME},
                                                                     {"kend", KEY_END}}};
    for (const auto& [name, code] : cursor_keys) {
        std::string sequence = Capability(name);
        if (sequence.size() != 3 || sequence[0] != '\x1b' ||
            (sequence[1] != 'O' && sequence[1] != '[')) {
            continue;
        }
        sequence[1] = sequence[1] == 'O' ? '[' : 'O';
        if (key_defined(sequence.c_str()) == 0) {
            define_key(sequence.c_str(), code);
        }
    }
}

void AtExit() {
    if (g_open_terminal != nullptr) {
        g_open_terminal->Close();
    }
}

}  // namespace

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

    set_escdelay(kEscapeDelayMs);
    SCREEN* screen = newterm(type, stdout, stdin);
    if (screen == nullptr) {
        TerminalSignals::Disarm();
        error = FormatText("cannot initialise terminal type '%s'", type);
        return nullptr;
    }
    set_term(screen);
    set_escdelay(kEscapeDelayMs);

    auto state = std::make_unique<State>(unicode, AcsLetters());
    state->screen = screen;
    state->open = true;

    cbreak();
    noecho();
    nonl();
    meta(stdscr, TRUE);
    intrflush(stdscr, FALSE);
    keypad(stdscr, TRUE);
    leaveok(stdscr, FALSE);
    scrollok(stdscr, FALSE);
    // Ctrl+S and Ctrl+Q are keys here, not flow control that would freeze the screen.
    termios modes{};
    if (tcgetattr(STDOUT_FILENO, &modes) == 0) {
        modes.c_iflag &= ~static_cast<tcflag_t>(IXON);
        tcsetattr(STDOUT_FILENO, TCSANOW, &modes);
        def_prog_mode();
    }
    SetUpLooks(state->role_attributes, state->role_pairs);
    state->keys = KeyTable();
    DefineCursorKeyTwins();
    // Separate press and release reports; terminals whose terminfo says so use SGR reports,
    // whose coordinates have no upper limit.
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
    const int width = COLS;
    const int height = LINES;
    const Cell blank{};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Cell& cell = grid.Contains(x, y) ? grid.At(x, y) : blank;
            const auto role = static_cast<std::size_t>(cell.role);
            attr_t attribute =
                role < state_->role_attributes.size() ? state_->role_attributes[role] : A_NORMAL;
            const short pair =
                role < state_->role_pairs.size() ? state_->role_pairs[role] : short{0};
            if (cell.underline) {
                attribute |= A_UNDERLINE;
            }
            const Glyph glyph = state_->glyphs.Map(cell.ch);
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
            }
            cchar_t drawn{};
            setcchar(&drawn, text.data(), attribute, pair, nullptr);
            // The bottom-right cell reports an error (the cursor cannot move past it) but is
            // drawn all the same.
            mvwadd_wch(stdscr, y, x, &drawn);
        }
    }
    const int visibility = cursor.visible ? 1 : 0;
    if (visibility != state_->cursor_visibility && curs_set(visibility) != ERR) {
        state_->cursor_visibility = visibility;
    }
    // The cursor goes where the focused control is even when hidden: screen readers follow it.
    const int cursor_x = std::clamp(cursor.x, 0, width > 0 ? width - 1 : 0);
    const int cursor_y = std::clamp(cursor.y, 0, height > 0 ? height - 1 : 0);
    wmove(stdscr, cursor_y, cursor_x);
    wnoutrefresh(stdscr);
    doupdate();
}

int CursesTerminal::ReadInput(unsigned int& input, int timeout_ms) {
    wtimeout(stdscr, timeout_ms);
    wint_t read = 0;
    errno = 0;
    const int status = wget_wch(stdscr, &read);
    input = static_cast<unsigned int>(read);
    return status;
}

Event CursesTerminal::WaitEvent() {
    while (state_->open && !state_->input_ended) {
        if (TerminalSignals::HangupReceived()) {
            state_->input_ended = true;
            break;
        }
        int status = ERR;
        unsigned int input = 0;
        if (state_->pending) {
            std::tie(status, input) = *state_->pending;
            state_->pending.reset();
        } else {
            status = ReadInput(input, -1);
        }
        if (status == ERR) {
            // A signal (SIGCONT, SIGHUP...) interrupts the read; end of input or a read error
            // repeats on every read.
            if (errno != EINTR && ++state_->read_failures >= kReadFailuresForHangup) {
                state_->input_ended = true;
            }
            continue;
        }
        state_->read_failures = 0;
        if (std::optional<Event> event = Translate(status, input)) {
            return *event;
        }
    }
    return Event::Hangup();
}

std::optional<Event> CursesTerminal::Translate(int status, unsigned int input) {
    if (status == KEY_CODE_YES) {
        const int code = static_cast<int>(input);
        if (code == KEY_MOUSE) {
            return TranslateMouse();
        }
        if (code == KEY_RESIZE) {
            // Terminals rearrange their contents on resize: repaint everything next time.
            clearok(curscr, TRUE);
            return Event::FromResize(COLS, LINES);
        }
        if (auto found = state_->keys.find(code); found != state_->keys.end()) {
            return Event::FromKey(found->second);
        }
        return std::nullopt;
    }
    const char32_t ch = input;
    switch (ch) {
        case U'\x1b': {
            // Alt arrives as an Escape prefix. ncurses has already waited the escape delay for
            // the rest of a sequence, so whatever belongs to this Escape is ready now.
            unsigned int next = 0;
            const int next_status = ReadInput(next, 0);
            if (next_status == ERR) {
                return Event::FromKey(KeyEvent{Key::Escape});
            }
            if (next_status == OK && next == 0x1b) {
                state_->pending.emplace(next_status, next);
                return Event::FromKey(KeyEvent{Key::Escape});
            }
            std::optional<Event> event = Translate(next_status, next);
            if (event && event->type == Event::Type::Key) {
                event->key.alt = true;
                return event;
            }
            // A mouse report or a resize after a lone Escape: both count.
            if (event) {
                state_->pending.emplace(next_status, next);
            }
            return Event::FromKey(KeyEvent{Key::Escape});
        }
        case U'\r':
        case U'\n':
            return Event::FromKey(KeyEvent{Key::Enter});
        case U'\t':
            return Event::FromKey(KeyEvent{Key::Tab});
        case U'\x7f':
        case U'\b':
            return Event::FromKey(KeyEvent{Key::Backspace});
        default:
            break;
    }
    if (ch >= 1 && ch <= 26) {
        return Event::FromKey(KeyEvent{Key::Character, U'a' + (ch - 1), false, false, true});
    }
    if (ch < 0x20 || (ch >= 0x7f && ch <= 0x9f)) {
        return std::nullopt;
    }
    return Event::FromKey(KeyEvent{Key::Character, ch});
}

std::optional<Event> CursesTerminal::TranslateMouse() {
    MEVENT report{};
    if (getmouse(&report) != OK) {
        return std::nullopt;
    }
    struct Meaning {
        mmask_t mask;
        MouseAction action;
        int button;
    };
    static constexpr std::array kMeanings = {
        Meaning{BUTTON1_PRESSED, MouseAction::Press, 1},
        Meaning{BUTTON1_RELEASED, MouseAction::Release, 1},
        Meaning{BUTTON2_PRESSED, MouseAction::Press, 2},
        Meaning{BUTTON2_RELEASED, MouseAction::Release, 2},
        Meaning{BUTTON3_PRESSED, MouseAction::Press, 3},
        Meaning{BUTTON3_RELEASED, MouseAction::Release, 3},
        Meaning{BUTTON4_PRESSED, MouseAction::WheelUp, 4},
        Meaning{BUTTON5_PRESSED, MouseAction::WheelDown, 5},
    };
    for (const Meaning& meaning : kMeanings) {
        if ((report.bstate & meaning.mask) != 0) {
            return Event::FromMouse(MouseEvent{meaning.action, meaning.button, report.x, report.y});
        }
    }
    return std::nullopt;
}

}  // namespace zov
