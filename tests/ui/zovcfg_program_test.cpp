// The real zovcfg program: started in a pseudo-terminal on a prepared registry, and refusing to
// start where it cannot run.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "app_scenario.h"
#include "platform/format.h"
#include "pty_session.h"

namespace zov::test {
namespace {

struct Outcome {
    int exitCode = -1;
    std::string output;  // standard output and standard error together
};

class ZovcfgProgram : public AppScenario {
  protected:
    // Runs zovcfg with standard input from /dev/null, so without a terminal.
    Outcome RunWithoutTerminal(const std::string& arguments) {
        const std::string command =
            FormatText("ZOVCFG_REGISTRY='%s' '%s' %s </dev/null 2>&1", DatabasePath().c_str(),
                       ZOVCFG_EXECUTABLE, arguments.c_str());
        Outcome outcome;
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) {
            ADD_FAILURE() << "cannot run " << command;
            return outcome;
        }
        std::array<char, 256> chunk{};
        size_t length = 0;
        while ((length = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) {
            outcome.output.append(chunk.data(), length);
        }
        const int status = pclose(pipe);
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return outcome;
    }

    PtySession::Options InTerminal() const {
        PtySession::Options options;
        options.program = ZOVCFG_EXECUTABLE;
        options.environment = {"TERM=xterm-256color", "LANG=C.UTF-8",
                               "ZOVCFG_REGISTRY=" + DatabasePath()};
        return options;
    }
};

TEST_F(ZovcfgProgram, ShowsTheCardsInATerminalAndClosesWithNothingChanged) {
    Build(IsaCardKeys(1, 4, 3, 0x300, 5) + PciCardKeys(2, 8, 7));
    PtySession session(InTerminal());
    ASSERT_TRUE(session.WaitForText("Tarnell ZOV Cards")) << session.Screen();
    ASSERT_TRUE(session.WaitForText("COM7")) << session.Screen();
    const std::string screen = session.Screen();
    EXPECT_NE(screen.find("Card1"), std::string::npos) << screen;
    EXPECT_NE(screen.find("ISA"), std::string::npos) << screen;
    EXPECT_NE(screen.find("PCI"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Properties"), std::string::npos) << screen;
    session.Send("\x1b");
    const auto status = session.WaitExit();
    ASSERT_TRUE(status.has_value()) << "zovcfg did not end:\n" << session.Screen();
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    EXPECT_TRUE(session.CursorVisible());
    EXPECT_FALSE(session.AltScreen());
}

TEST_F(ZovcfgProgram, HelpAndVersionNeedNoTerminal) {
    const Outcome help = RunWithoutTerminal("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output.rfind("Usage: zovcfg", 0), 0U) << help.output;
    const Outcome version = RunWithoutTerminal("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output.rfind("zovcfg ", 0), 0U) << version.output;
}

TEST_F(ZovcfgProgram, OtherArgumentsAreAUsageError) {
    const Outcome outcome = RunWithoutTerminal("--frobnicate");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.output.find("Usage: zovcfg"), std::string::npos) << outcome.output;
}

TEST_F(ZovcfgProgram, WithoutATerminalItSaysSoAndExitsTwo) {
    const Outcome outcome = RunWithoutTerminal("");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.output.rfind("zovcfg: ", 0), 0U) << outcome.output;
    EXPECT_EQ(outcome.output.find('\n'), outcome.output.size() - 1) << outcome.output;
}

TEST_F(ZovcfgProgram, ForeignDatabaseIsRefusedBeforeAnythingIsDrawn) {
    WriteFileBytes(DatabasePath(), std::vector<std::uint8_t>(4096, 'x'));
    const auto before = ReadFileBytes(DatabasePath());
    PtySession session(InTerminal());
    const auto status = session.WaitExit();
    ASSERT_TRUE(status.has_value()) << session.Screen();
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 2);
    EXPECT_NE(session.Transcript().find(DatabasePath()), std::string::npos) << session.Transcript();
    // Nothing but the reason reached the terminal: no escape sequences.
    EXPECT_EQ(session.Transcript().find('\x1b'), std::string::npos) << session.Transcript();
    EXPECT_EQ(ReadFileBytes(DatabasePath()), before);
}

}  // namespace
}  // namespace zov::test
