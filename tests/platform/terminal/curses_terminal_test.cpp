// The ncurses driver run for real: the probe program draws through it inside a pseudo-terminal,
// and libvterm plays the terminal, so the tests read back exactly what a user would see.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "pty_session.h"

namespace zov::test {
namespace {

using ::testing::StartsWith;

const std::string kProbe = ZOV_TERMINAL_PROBE;

PtySession::Options ProbeIn(std::vector<std::string> environment, int width = 80, int height = 24) {
    PtySession::Options options;
    options.program = kProbe;
    options.width = width;
    options.height = height;
    options.environment = std::move(environment);
    return options;
}

PtySession::Options ProbeInXterm(int width = 80, int height = 24) {
    return ProbeIn({"TERM=xterm-256color", "LANG=C.UTF-8"}, width, height);
}

std::string Utf8Of(const VTermScreenCell& cell) {
    std::string text;
    const uint32_t ch = cell.chars[0];
    if (ch < 0x80) {
        text.push_back(static_cast<char>(ch == 0 ? ' ' : ch));
    } else if (ch < 0x800) {
        text.push_back(static_cast<char>(0xc0 | (ch >> 6)));
        text.push_back(static_cast<char>(0x80 | (ch & 0x3f)));
    } else {
        text.push_back(static_cast<char>(0xe0 | (ch >> 12)));
        text.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3f)));
        text.push_back(static_cast<char>(0x80 | (ch & 0x3f)));
    }
    return text;
}

bool HasColour(const VTermScreenCell& cell) {
    return !VTERM_COLOR_IS_DEFAULT_FG(&cell.fg) || !VTERM_COLOR_IS_DEFAULT_BG(&cell.bg);
}

// The terminal as the user gets it back: main screen, cursor shown, no mouse reports.
void ExpectRestored(const PtySession& session) {
    EXPECT_FALSE(session.AltScreen()) << "still on the alternate screen";
    EXPECT_TRUE(session.CursorVisible()) << "cursor left hidden";
    EXPECT_FALSE(session.MouseReporting()) << "mouse reporting left on";
    const std::string& bytes = session.Transcript();
    const std::size_t mouse_on = bytes.rfind("\x1b[?1006;1000h");
    const std::size_t mouse_off = bytes.rfind("\x1b[?1006;1000l");
    ASSERT_NE(mouse_on, std::string::npos) << "mouse reporting was never switched on";
    ASSERT_NE(mouse_off, std::string::npos) << "mouse reporting never switched off";
    EXPECT_GT(mouse_off, mouse_on);
    EXPECT_GT(bytes.rfind("\x1b[?1049l"), bytes.rfind("\x1b[?1049h"));
}

// ---------------------------------------------------------------------------------------------
// Opening

// Runs the probe with standard input from /dev/null and both outputs into a pipe.
TEST(CursesTerminalOpen, RefusesStandardInputThatIsNotATerminal) {
    int pipe_fds[2];
    ASSERT_EQ(pipe(pipe_fds), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const int null_fd = open("/dev/null", O_RDONLY);
        dup2(null_fd, STDIN_FILENO);
        dup2(pipe_fds[1], STDOUT_FILENO);
        dup2(pipe_fds[1], STDERR_FILENO);
        close(pipe_fds[0]);
        execl(kProbe.c_str(), kProbe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipe_fds[1]);
    std::string output;
    std::string chunk(256, '\0');
    ssize_t got = 0;
    while ((got = read(pipe_fds[0], chunk.data(), chunk.size())) > 0) {
        output.append(chunk, 0, static_cast<std::size_t>(got));
    }
    close(pipe_fds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_EQ(output, "terminal_probe: standard input is not a terminal\n");
}

TEST(CursesTerminalOpen, RefusesAnUnknownTerminalTypeWithoutDrawing) {
    PtySession session(ProbeIn({"TERM=zov-no-such-terminal", "LANG=C.UTF-8"}));
    const std::optional<int> status = session.WaitExit();
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 2);
    EXPECT_EQ(session.Transcript(),
              "terminal_probe: unknown terminal type 'zov-no-such-terminal'\r\n");
}

TEST(CursesTerminalOpen, RefusesATerminalThatCannotPositionTheCursor) {
    PtySession session(ProbeIn({"TERM=dumb", "LANG=C.UTF-8"}));
    const std::optional<int> status = session.WaitExit();
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 2);
    EXPECT_EQ(session.Transcript(),
              "terminal_probe: terminal type 'dumb' cannot position the cursor\r\n");
}

TEST(CursesTerminalOpen, RefusesAnUnsetTerminalType) {
    PtySession session(ProbeIn({"LANG=C.UTF-8"}));
    const std::optional<int> status = session.WaitExit();
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 2);
    EXPECT_NE(session.Transcript().find("TERM is not set"), std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Drawing

TEST(CursesTerminalDrawing, PlacesTextAndLineCharactersInTheirCells) {
    PtySession session(ProbeInXterm());
    ASSERT_TRUE(session.WaitForText("last: none")) << session.Screen();
    EXPECT_THAT(session.Row(0), StartsWith("PROBE 80x24 "));
    EXPECT_THAT(session.Row(1), StartsWith("  ┌────────────────┐"));
    EXPECT_THAT(session.Row(2), StartsWith("  │ Hello, wörld   │"));
    EXPECT_THAT(session.Row(3), StartsWith("  ╞════════════════╡"));
    EXPECT_THAT(session.Row(4), StartsWith("  │ [OK] [Cancel]  │"));
    EXPECT_THAT(session.Row(5), StartsWith("  └────────────────┘"));
    // A control character in the grid never reaches the terminal as such.
    EXPECT_THAT(session.Row(6), StartsWith("  ╱é→█?"));
    EXPECT_EQ(Utf8Of(session.CellAt(79, 23)), "@") << "the bottom-right cell is drawn too";
}

TEST(CursesTerminalDrawing, PutsTheVisibleCursorOnTheFocusedPosition) {
    PtySession session(ProbeInXterm());
    ASSERT_TRUE(session.WaitForText("last: none"));
    session.Pump(100ms);
    EXPECT_TRUE(session.CursorVisible());
    EXPECT_EQ(session.Cursor().col, 5);
    EXPECT_EQ(session.Cursor().row, 2);
}

TEST(CursesTerminalDrawing, UnderlinesTheMnemonicOnly) {
    PtySession session(ProbeInXterm());
    ASSERT_TRUE(session.WaitForText("last: none"));
    EXPECT_TRUE(session.CellAt(10, 4).attrs.underline);
    EXPECT_FALSE(session.CellAt(11, 4).attrs.underline);
    EXPECT_FALSE(session.CellAt(4, 2).attrs.underline);
}

TEST(CursesTerminalDrawing, ColoursRolesDifferently) {
    PtySession session(ProbeInXterm());
    ASSERT_TRUE(session.WaitForText("last: none"));
    const VTermScreenCell title = session.CellAt(0, 0);
    const VTermScreenCell window = session.CellAt(4, 2);
    const VTermScreenCell focused_button = session.CellAt(5, 4);
    ASSERT_TRUE(HasColour(title));
    ASSERT_TRUE(HasColour(window));
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

TEST(CursesTerminalDrawing, EmptyNoColorStillGivesColours) {
    PtySession session(ProbeIn({"TERM=xterm-256color", "LANG=C.UTF-8", "NO_COLOR="}));
    ASSERT_TRUE(session.WaitForText("last: none"));
    EXPECT_TRUE(HasColour(session.CellAt(0, 0)));
}

TEST(CursesTerminalDrawing, FallsBackToAcsAndAsciiOnAVt100WithoutUtf8) {
    PtySession session(ProbeIn({"TERM=vt100", "LANG=C"}));
    ASSERT_TRUE(session.WaitForText("last: none")) << session.Screen();
    // vt100 draws lines from its alternate character set; the emulator shows them as Unicode.
    EXPECT_THAT(session.Row(1), StartsWith("  ┌────────────────┐"));
    // Double lines have no ACS glyph of their own: the single-line ones stand in.
    EXPECT_THAT(session.Row(3), StartsWith("  ├────────────────┤"));
    // ö cannot be shown in the C locale; ╱, → and █ have no vt100 glyph: ASCII stands in.
    EXPECT_THAT(session.Row(2), StartsWith("  │ Hello, w?rld   │"));
    EXPECT_THAT(session.Row(6), StartsWith("  /?>#? "));
    EXPECT_TRUE(session.CellAt(0, 0).attrs.reverse) << "monochrome title bar not highlighted";
}

// ---------------------------------------------------------------------------------------------
// Input

struct KeyCase {
    const char* name;
    std::string bytes;
    std::string expected;
};

void PrintTo(const KeyCase& key_case, std::ostream* out) {
    *out << key_case.name;
}

class CursesTerminalKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(CursesTerminalKeys, ArriveAsTheirEvent) {
    PtySession session(ProbeInXterm());
    ASSERT_TRUE(session.WaitForText("last: none"));
    session.Send(GetParam().bytes);
    EXPECT_TRUE(session.WaitForText("1: " + GetParam().expected + " ")) << session.Screen();
    EXPECT_FALSE(session.WaitForText("2: ", 100ms)) << "one key gave several events";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CursesTerminalKeys,
    ::testing::Values(
        KeyCase{"Letter", "a", "key Character U+0061"},
        KeyCase{"Utf8Letter", "\xc3\xa9", "key Character U+00E9"},
        KeyCase{"AltLetter", "\x1bx", "key Character U+0078 alt"},
        KeyCase{"CtrlLetter", "\x01", "key Character U+0061 ctrl"},
        KeyCase{"Escape", "\x1b", "key Escape"}, KeyCase{"Enter", "\r", "key Enter"},
        KeyCase{"Tab", "\t", "key Tab"}, KeyCase{"BackTab", "\x1b[Z", "key BackTab shift"},
        KeyCase{"Backspace", "\x7f", "key Backspace"}, KeyCase{"Down", "\x1bOB", "key Down"},
        KeyCase{"DownInCursorMode", "\x1b[B", "key Down"},
        KeyCase{"AltDownAsEscapePrefix", "\x1b\x1bOB", "key Down alt"},
        KeyCase{"AltDownAsModifier", "\x1b[1;3B", "key Down alt"},
        KeyCase{"ShiftLeft", "\x1b[1;2D", "key Left shift"},
        KeyCase{"CtrlRight", "\x1b[1;5C", "key Right ctrl"}, KeyCase{"Home", "\x1bOH", "key Home"},
        KeyCase{"PageDown", "\x1b[6~", "key PageDown"}, KeyCase{"Delete", "\x1b[3~", "key Delete"},
        KeyCase{"F1", "\x1bOP", "key F1"}, KeyCase{"F12", "\x1b[24~", "key F12"},
        KeyCase{"ShiftF5", "\x1b[15;2~", "key F5 shift"}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

TEST(CursesTerminalInput, AltPrefixDoesNotSwallowTheNextKey) {
    PtySession session(ProbeInXterm());
    ASSERT_TRUE(session.WaitForText("last: none"));
    session.Send("\x1b");
    ASSERT_TRUE(session.WaitForText("1: key Escape "));
    session.Send("b");
    EXPECT_TRUE(session.WaitForText("2: key Character U+0062 ")) << session.Screen();
}

TEST(CursesTerminalInput, SgrMouseReportsBeyondColumn223BecomeMouseEvents) {
    PtySession session(ProbeInXterm(250, 24));
    ASSERT_TRUE(session.WaitForText("last: none"));
    EXPECT_TRUE(session.MouseReporting()) << "mouse reporting is not on";
    EXPECT_NE(session.Transcript().find("\x1b[?1006;1000h"), std::string::npos)
        << "SGR reports were not asked for";
    session.Send("\x1b[<0;240;5M");
    ASSERT_TRUE(session.WaitForText("1: mouse Press 1 at 239,4 ")) << session.Screen();
    session.Send("\x1b[<0;240;5m");
    ASSERT_TRUE(session.WaitForText("2: mouse Release 1 at 239,4 ")) << session.Screen();
    session.Send("\x1b[<2;3;7M");
    ASSERT_TRUE(session.WaitForText("3: mouse Press 3 at 2,6 ")) << session.Screen();
    session.Send("\x1b[<64;10;3M");
    ASSERT_TRUE(session.WaitForText("4: mouse WheelUp 4 at 9,2 ")) << session.Screen();
    session.Send("\x1b[<65;10;3M");
    ASSERT_TRUE(session.WaitForText("5: mouse WheelDown 5 at 9,2 ")) << session.Screen();
}

TEST(CursesTerminalInput, ResizeIsReportedWithTheNewSizeAndRedrawn) {
    PtySession session(ProbeInXterm());
    ASSERT_TRUE(session.WaitForText("last: none"));
    session.Resize(100, 30);
    ASSERT_TRUE(session.WaitForText("1: resize 100x30 size 100x30 ")) << session.Screen();
    EXPECT_THAT(session.Row(0), StartsWith("PROBE 100x30 "));
    EXPECT_EQ(Utf8Of(session.CellAt(99, 29)), "@");
    session.Resize(60, 20);
    ASSERT_TRUE(session.WaitForText("2: resize 60x20 size 60x20 ")) << session.Screen();
    EXPECT_EQ(Utf8Of(session.CellAt(59, 19)), "@");
}

// ---------------------------------------------------------------------------------------------
// End of input

TEST(CursesTerminalHangup, HangupSignalEndsInputForGood) {
    PtySession session(ProbeInXterm());
    ASSERT_TRUE(session.WaitForText("last: none"));
    session.Signal(SIGHUP);
    const std::optional<int> status = session.WaitExit();
    ASSERT_TRUE(status.has_value()) << "the probe did not see the hang-up";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 3) << "a second wait did not report the end of input again";
    ExpectRestored(session);
}

TEST(CursesTerminalHangup, ClosedTerminalEndsInput) {
    PtySession session(ProbeInXterm());
    ASSERT_TRUE(session.WaitForText("last: none"));
    session.CloseTerminal();
    const std::optional<int> status = session.WaitExit();
    ASSERT_TRUE(status.has_value()) << "the probe did not see its terminal go away";
    // The kernel sends SIGHUP to the session when its terminal goes; the probe survives it
    // and ends through its normal path.
    ASSERT_TRUE(WIFEXITED(*status)) << "status " << *status;
    EXPECT_EQ(WEXITSTATUS(*status), 3);
}

// ---------------------------------------------------------------------------------------------
// Restoring the terminal

TEST(CursesTerminalRestore, OnNormalReturn) {
    PtySession session(ProbeInXterm());
    ASSERT_TRUE(session.WaitForText("last: none"));
    ASSERT_TRUE(session.AltScreen());
    session.Send("q");
    const std::optional<int> status = session.WaitExit();
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    ExpectRestored(session);
}

TEST(CursesTerminalRestore, OnExit) {
    PtySession session(ProbeInXterm());
    ASSERT_TRUE(session.WaitForText("last: none"));
    session.Send("x");
    const std::optional<int> status = session.WaitExit();
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 5);
    ExpectRestored(session);
}

TEST(CursesTerminalRestore, WhileSuspendedAndRedrawsOnResume) {
    PtySession::Options options = ProbeInXterm();
    options.program = ZOV_TERMINAL_JOB_SHELL;
    options.arguments = {kProbe};
    PtySession session(options);
    ASSERT_TRUE(session.WaitForText("last: none"));
    session.Send("a");
    ASSERT_TRUE(session.WaitForText("1: key Character U+0061 "));
    session.Send("\x1a");  // Ctrl+Z
    ASSERT_TRUE(session.WaitForText("[stopped]")) << session.Screen();
    EXPECT_FALSE(session.AltScreen()) << "suspended on the alternate screen";
    EXPECT_TRUE(session.CursorVisible()) << "suspended with the cursor hidden";
    EXPECT_FALSE(session.MouseReporting()) << "suspended with mouse reporting on";

    session.Send("c\n");  // the job shell reads a line, then continues the probe
    ASSERT_TRUE(session.WaitForText("1: key Character U+0061 ")) << session.Screen();
    EXPECT_TRUE(session.AltScreen());
    EXPECT_TRUE(session.MouseReporting()) << "mouse reporting not back after resuming";
    EXPECT_THAT(session.Row(1), StartsWith("  ┌────────────────┐"));
    session.Send("b");
    ASSERT_TRUE(session.WaitForText("2: key Character U+0062 ")) << session.Screen();
    session.Send("q");
    const std::optional<int> status = session.WaitExit();
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    ExpectRestored(session);
}

struct SignalCase {
    const char* name;
    std::string key;  // sent to the probe; empty: the signal is sent with kill()
    int signal_number;
};

void PrintTo(const SignalCase& signal_case, std::ostream* out) {
    *out << signal_case.name;
}

class CursesTerminalRestoreOnSignal : public ::testing::TestWithParam<SignalCase> {};

TEST_P(CursesTerminalRestoreOnSignal, ThenDiesOfTheSignal) {
    PtySession session(ProbeInXterm());
    ASSERT_TRUE(session.WaitForText("last: none"));
    if (GetParam().key.empty()) {
        session.Signal(GetParam().signal_number);
    } else {
        session.Send(GetParam().key);
    }
    const std::optional<int> status = session.WaitExit();
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFSIGNALED(*status)) << "status " << *status;
    EXPECT_EQ(WTERMSIG(*status), GetParam().signal_number);
    ExpectRestored(session);
}

INSTANTIATE_TEST_SUITE_P(
    Signals, CursesTerminalRestoreOnSignal,
    ::testing::Values(SignalCase{"Term", "", SIGTERM}, SignalCase{"CtrlC", "\x03", SIGINT},
                      SignalCase{"CtrlBackslash", "\x1c", SIGQUIT}, SignalCase{"Segv", "", SIGSEGV},
                      SignalCase{"UncaughtException", "t", SIGABRT}),
    [](const ::testing::TestParamInfo<SignalCase>& info) { return info.param.name; });

}  // namespace
}  // namespace zov::test
