// The real zovcfg program: started in a pseudo-terminal on a prepared registry, and answering
// without one.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

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
        const std::string output = PathInDir("output");
        const int status = std::system(
            FormatText("ZOVCFG_REGISTRY='%s' '%s' %s </dev/null >'%s' 2>&1", DatabasePath().c_str(),
                       ZOVCFG_EXECUTABLE, arguments.c_str(), output.c_str())
                .c_str());
        const std::vector<std::uint8_t> bytes = ReadFileBytes(output);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, {bytes.begin(), bytes.end()}};
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
    EXPECT_NE(session.Screen().find("ISA"), std::string::npos) << session.Screen();
    session.Send("\x1b");
    const auto status = session.WaitExit();
    ASSERT_TRUE(status.has_value()) << "zovcfg did not end:\n" << session.Screen();
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    EXPECT_TRUE(session.CursorVisible());
    EXPECT_FALSE(session.AltScreen());
}

// --version needs no terminal; other arguments and a missing terminal exit 2.
TEST_F(ZovcfgProgram, AnswersWithoutATerminal) {
    const struct {
        const char* arguments;
        int exitCode;
        const char* start;  // how the output begins
        bool oneLine;
    } kCases[] = {{"--version", 0, "zovcfg ", true},
                  {"--frobnicate", 2, "zovcfg: unexpected argument", false},
                  {"", 2, "zovcfg: ", true}};
    for (const auto& c : kCases) {
        const Outcome outcome = RunWithoutTerminal(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(outcome.output.rfind(c.start, 0), 0U) << c.arguments << ": " << outcome.output;
        EXPECT_TRUE(!c.oneLine || outcome.output.find('\n') == outcome.output.size() - 1)
            << outcome.output;
    }
}

}  // namespace
}  // namespace zov::test
