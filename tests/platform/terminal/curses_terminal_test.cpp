// The ncurses driver run for real: the probe program draws through it inside a pseudo-terminal,
// and libvterm plays the terminal, so the tests read back exactly what a user would see.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "pty_session.h"

namespace zov::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

const std::string kProbe = ZOV_TERMINAL_PROBE;

const std::vector<std::string> kXterm = {"TERM=xterm-256color", "LANG=C.UTF-8"};

PtySession::Options ProbeIn(std::vector<std::string> environment = kXterm, int width = 80) {
    PtySession::Options options;
    options.program = kProbe;
    options.width = width;
    options.environment = std::move(environment);
    return options;
}

bool HasColour(const VTermScreenCell& cell) {
    return !VTERM_COLOR_IS_DEFAULT_FG(&cell.fg) || !VTERM_COLOR_IS_DEFAULT_BG(&cell.bg);
}

// The terminal as the user gets it back: every private mode the program switched on (DECSET
// "ESC [ ? n h": the alternate screen, SGR mouse reports, xterm's meta mode 1034...) is off again;
// the cursor (25) is shown, and auto-wrap (7), on by default, may stay on.
void ExpectRestored(const PtySession& session) {
    const std::map<std::string, char> modes = session.PrivateModes();
    ASSERT_TRUE(modes.contains("1006")) << "SGR reports never asked for";
    for (const auto& [mode, state] : modes) {
        if (mode != "7") {
            EXPECT_EQ(state, mode == "25" ? 'h' : 'l') << "private mode " << mode;
        }
    }
}

// Expects the program to end with exit code `code`, or, if `signal_number` is set, of that signal.
void ExpectEnds(PtySession& session, int code, int signal_number = 0) {
    const std::optional<int> status = session.WaitExit();
    ASSERT_TRUE(status.has_value()) << "the probe did not end";
    EXPECT_TRUE(signal_number != 0 ? WIFSIGNALED(*status) && WTERMSIG(*status) == signal_number
                                   : WIFEXITED(*status) && WEXITSTATUS(*status) == code)
        << "status " << *status << "; wanted signal " << signal_number << ", else exit " << code;
}

TEST(CursesTerminalOpen, RefusesTerminalTypesItCannotDrawOnWithoutDrawing) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"TERM=zov-no-such-terminal", "unknown terminal type 'zov-no-such-terminal'"},
        {"TERM=dumb", "terminal type 'dumb' cannot position the cursor"},
    };
    for (const auto& [term, reason] : cases) {
        PtySession session(ProbeIn({term, "LANG=C.UTF-8"}));
        ExpectEnds(session, 2);
        EXPECT_EQ(session.Transcript(), "terminal_probe: " + reason + "\r\n");
    }
}

TEST(CursesTerminalDrawing, PlacesTextLinesCursorAndColoursOnAUtf8Xterm) {
    // An empty NO_COLOR does not count as set.
    PtySession session(ProbeIn({"TERM=xterm-256color", "LANG=C.UTF-8", "NO_COLOR="}));
    ASSERT_TRUE(session.WaitForText("last: none")) << session.Screen();
    EXPECT_THAT(session.Row(0), StartsWith("PROBE 80x24 "));
    EXPECT_THAT(session.Row(2), StartsWith("  │ Hello, wörld   │"));
    EXPECT_THAT(session.Row(3), StartsWith("  ╞════════════════╡"));
    // A control character in the grid never reaches the terminal as such.
    EXPECT_THAT(session.Row(6), StartsWith("  ╱é→█?"));
    EXPECT_EQ(session.Row(23).back(), '@') << "the bottom-right cell is not drawn";
    EXPECT_TRUE(session.CursorVisible());
    EXPECT_EQ(session.Cursor().col, 5);
    EXPECT_EQ(session.Cursor().row, 2);
    EXPECT_TRUE(session.CellAt(10, 4).attrs.underline) << "mnemonic not underlined";
    EXPECT_FALSE(session.CellAt(11, 4).attrs.underline);
    const VTermScreenCell title = session.CellAt(0, 0);
    const VTermScreenCell window = session.CellAt(4, 2);
    const VTermScreenCell focused_button = session.CellAt(5, 4);
    ASSERT_TRUE(HasColour(title) && HasColour(window));
    EXPECT_FALSE(vterm_color_is_equal(&title.bg, &window.bg)) << "title bar looks like the face";
    EXPECT_FALSE(vterm_color_is_equal(&focused_button.bg, &window.bg))
        << "focused button does not stand out";
}

TEST(CursesTerminalDrawing, NoColorGivesMonochromeAttributesOnly) {
    PtySession session(ProbeIn({"TERM=xterm-256color", "LANG=C.UTF-8", "NO_COLOR=1"}));
    ASSERT_TRUE(session.WaitForText("last: none"));
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 80; ++x) {
            ASSERT_FALSE(HasColour(session.CellAt(x, y))) << "colour at " << x << "," << y;
        }
    }
    EXPECT_TRUE(session.CellAt(0, 0).attrs.reverse) << "title bar not highlighted";
    EXPECT_TRUE(session.CellAt(5, 4).attrs.reverse) << "focused button not highlighted";
    EXPECT_FALSE(session.CellAt(4, 2).attrs.reverse);
}

// The Linux console cannot underline in colour: the mnemonic takes a colour of its own there.
TEST(CursesTerminalDrawing, MarksMnemonicsOnATerminalWithoutUnderline) {
    for (const char* no_color : {"NO_COLOR=", "NO_COLOR=1"}) {
        SCOPED_TRACE(no_color);
        PtySession session(ProbeIn({"TERM=linux", "LANG=C.UTF-8", no_color}));
        ASSERT_TRUE(session.WaitForText("last: none")) << session.Screen();
        const VTermScreenCell mnemonic = session.CellAt(10, 4);
        const VTermScreenCell plain = session.CellAt(11, 4);
        EXPECT_TRUE(mnemonic.attrs.underline || !vterm_color_is_equal(&mnemonic.fg, &plain.fg) ||
                    mnemonic.attrs.bold != plain.attrs.bold)
            << "the mnemonic looks like the letters around it";
    }
}

TEST(CursesTerminalDrawing, FallsBackToAcsAndAsciiOnAVt100WithoutUtf8) {
    PtySession session(ProbeIn({"TERM=vt100", "LANG=C"}));
    ASSERT_TRUE(session.WaitForText("last: none")) << session.Screen();
    // vt100 draws lines from its alternate character set, which the emulator shows as Unicode;
    // double lines have no glyph of their own there, so the single ones stand in.
    EXPECT_THAT(session.Row(3), StartsWith("  ├────────────────┤"));
    // ö cannot be shown in the C locale; ╱, → and █ have no vt100 glyph: ASCII stands in.
    EXPECT_THAT(session.Row(2), StartsWith("  │ Hello, w?rld   │"));
    EXPECT_THAT(session.Row(6), StartsWith("  /?>#? "));
}

// Each input is sent once the previous event is shown. The driver reads byte by byte and waits
// only the escape delay for the rest of a sequence; every form of every key is decoded in
// input_translator_test.cpp.
TEST(CursesTerminalInput, EachInputArrivesAsOneEventUntilTheTerminalCloses) {
    PtySession session(ProbeIn(kXterm, 250));
    ASSERT_TRUE(session.WaitForText("last: none"));
    EXPECT_EQ(session.PrivateModes()["1000"], 'h') << "mouse reporting is not on";
    const std::vector<std::pair<std::string, std::string>> inputs = {
        {"\xc3\xa9", "key Character U+00E9"},          // UTF-8, from the locale
        {"\x1b", "key Escape"},                        // alone: given once the delay runs out
        {"b", "key Character U+0062"},                 // not swallowed by the Escape before it
        {"\x1b[<0;240;5M", "mouse Press 1 at 239,4"},  // beyond what the old X10 reports reach
        {"g", "key Character U+0067"},                 // the probe writes GARBAGE on row 10
        {"\x0c", "redraw"},                            // Ctrl+L repaints over it
    };
    int number = 0;
    for (const auto& [bytes, expected] : inputs) {
        session.Send(bytes);
        const std::string line = std::to_string(++number) + ": " + expected + " ";
        ASSERT_TRUE(session.WaitForText(line)) << line << "\n" << session.Screen();
    }
    EXPECT_FALSE(session.WaitForText(std::to_string(number + 1) + ": ", 100ms));
    EXPECT_THAT(session.Row(10), Not(HasSubstr("GARBAGE"))) << session.Screen();
    // A resize is reported with the new size, and the screen redrawn at it.
    session.Resize(100, 30);
    ASSERT_TRUE(session.WaitForText(std::to_string(number + 1) + ": resize 100x30 size 100x30 "))
        << session.Screen();
    EXPECT_THAT(session.Row(0), StartsWith("PROBE 100x30 "));
    EXPECT_EQ(session.Row(29).back(), '@');
    // The kernel sends SIGHUP to the session when its terminal goes; the probe survives it,
    // and exits 3 only if a second wait reports the end of input again.
    session.CloseTerminal();
    ExpectEnds(session, 3);
}

// However the probe ends, the terminal is given back.
TEST(CursesTerminalRestore, WhenTheProgramEnds) {
    const struct {
        const char* name;
        std::string key;  // sent to the probe, or empty: `sent_signal` is sent with kill()
        int sent_signal;
        int expected_signal;  // 0: the probe must exit with `exit_code`
        int exit_code;
    } kEndings[] = {{"exit", "x", 0, 0, 5},
                    {"hangup", "", SIGHUP, 0, 3},
                    {"term", "", SIGTERM, SIGTERM, 0},
                    {"ctrl-c", "\x03", 0, SIGINT, 0},
                    {"segv", "", SIGSEGV, SIGSEGV, 0}};
    for (const auto& end : kEndings) {
        SCOPED_TRACE(end.name);
        PtySession session(ProbeIn());
        ASSERT_TRUE(session.WaitForText("last: none"));
        ASSERT_TRUE(session.AltScreen());
        if (end.key.empty()) {
            session.Signal(end.sent_signal);
        } else {
            session.Send(end.key);
        }
        ExpectEnds(session, end.exit_code, end.expected_signal);
        ExpectRestored(session);
    }
}

TEST(CursesTerminalSuspend, RestoresTheTerminalAndRedrawsOnResume) {
    PtySession::Options options = ProbeIn();
    // A shell with job control runs the probe as its foreground job, so that Ctrl+Z can stop it:
    // a terminal's stop signals are discarded for a process group without a parent in the session.
    options.program = "/bin/sh";
    options.arguments = {"-m", "-c", "'" + kProbe + "'; echo [stopped]; read line; fg"};
    PtySession session(options);
    ASSERT_TRUE(session.WaitForText("last: none"));
    session.Send("a");
    ASSERT_TRUE(session.WaitForText("1: key Character U+0061 "));
    session.Send("\x1a");  // Ctrl+Z
    ASSERT_TRUE(session.WaitForText("[stopped]")) << session.Screen();
    ExpectRestored(session);
    session.Send("c\n");  // the shell reads a line, then continues the probe
    ASSERT_TRUE(session.WaitForText("1: key Character U+0061 ")) << session.Screen();
    EXPECT_EQ(session.PrivateModes()["1000"], 'h') << "mouse reporting not back after resuming";
    EXPECT_THAT(session.Row(1), StartsWith("  ┌────────────────┐"));
    session.Send("b");
    ASSERT_TRUE(session.WaitForText("2: key Character U+0062 ")) << session.Screen();
    session.Send("q");  // a normal return from main
    ExpectEnds(session, 0);
    ExpectRestored(session);
}

}  // namespace
}  // namespace zov::test
