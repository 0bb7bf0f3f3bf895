// The real zovcfg program: started in a pseudo-terminal on a prepared registry, and answering
// without one.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "app_scenario.h"
#include "pty_session.h"

namespace zov::test {
namespace {

using ZovcfgProgram = AppScenario;

TEST_F(ZovcfgProgram, ShowsTheCardsInATerminalAndClosesWithNothingChanged) {
    Build(IsaCardKeys(1, 4, 3, 0x300, 5) + PciCardKeys(2, 8, 7));
    PtySession::Options options;
    options.program = ZOVCFG_EXECUTABLE;
    options.environment = {"TERM=xterm-256color", "LANG=C.UTF-8",
                           "ZOVCFG_REGISTRY=" + DatabasePath()};
    PtySession session(options);
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

// Unknown arguments and a missing terminal exit 2. (--version, which needs no terminal: the
// package check, packaging/check-package.)
TEST_F(ZovcfgProgram, AnswersWithoutATerminal) {
    const struct {
        std::vector<std::string> arguments;
        const char* start;  // how the output begins
        bool oneLine;
    } kCases[] = {{{"--frobnicate"}, "zovcfg: unexpected argument", false}, {{}, "zovcfg: ", true}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        const ProgramRun run = RunWithoutTerminal(ZOVCFG_EXECUTABLE, c.arguments, Dir());
        const std::string output = run.out + run.err;
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(output.rfind(c.start, 0), 0U) << output;
        EXPECT_TRUE(!c.oneLine || output.find('\n') == output.size() - 1) << output;
    }
}

}  // namespace
}  // namespace zov::test
