// The command line: its parsing, and the built zovreg executable's exit statuses, streams and
// terminal question.
#include "zovreg/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "zovreg_test_support.h"

namespace zov::test {
namespace {

using reg::CommandLine;
using reg::ParseCommandLine;

CommandLine MustParse(const std::vector<std::string>& args) {
    CommandLine command;
    std::string error;
    EXPECT_TRUE(ParseCommandLine(args, &command, &error)) << error;
    return command;
}

// The verbs and options the other tests run through the tool; here only the spellings they skip.
TEST(CommandLineVerbs, LongRootTrailingBackslashAndDoubleDashAreUnderstood) {
    const CommandLine exported = MustParse({"export", "HKEY_LOCAL_MACHINE\\A\\", "-"});
    EXPECT_EQ(exported.key_path, "A");
    EXPECT_EQ(exported.format, reg::RegFileFormat::kRegedit5);
    EXPECT_EQ(MustParse({"import", "--", "-odd-name.reg"}).file, "-odd-name.reg");
}

TEST(CommandLineUsageErrors, SayWhatIsWrong) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "missing command"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"query"}, "expected KEY, got 0 arguments"},
        {{"delete", "-s", "HKLM\\X"}, "unknown option '-s'"},
        {{"export", "HKLM", "f", "--format=regedit6"}, "regedit6"},
        {{"export", "HKLM", "f", "--format"}, "export: --format"},
        {{"--bogus", "query", "HKLM"}, "unknown option '--bogus'"},
        {{"query", "HKCU\\Software"}, "only HKEY_LOCAL_MACHINE"},
        {{"query", "SYSTEM\\X"}, "unknown root key"},
        {{"query", "HKLM\\a\\\\b"}, "empty key name"},
    };
    for (const auto& [args, message] : cases) {
        CommandLine command;
        std::string error;
        EXPECT_FALSE(ParseCommandLine(args, &command, &error)) << message;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

class ExecutableTest : public ZovregTest {
  protected:
    ToolRun RunExecutable(const std::vector<std::string>& args) {
        return RunWithoutTerminal(ZOVREG_EXECUTABLE, args, Dir());
    }
};

// Usage errors: status 2 and one line on stderr; help and version: status 0 and no stderr.
TEST_F(ExecutableTest, UsageErrorsExitWithTwoHelpAndVersionWithZero) {
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{}, 2}, {{"query", "HKLM", "--bogus"}, 2}, {{"import", "--help"}, 0}, {{"--version"}, 0}};
    for (const auto& [args, status] : cases) {
        const ToolRun run = RunExecutable(args);
        EXPECT_EQ(run.status, status) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), status == 2 ? 1 : 0);
        EXPECT_EQ(run.err.rfind("zovreg: ", 0), status == 2 ? 0U : std::string::npos);
        EXPECT_EQ(run.out.empty(), status == 2) << run.out;
    }
    EXPECT_EQ(RunExecutable({"import", "--help"}).out.rfind("Usage: zovreg import", 0), 0U);
}

TEST_F(ExecutableTest, ExportsUtf16ToStandardOutputAndRefusesDeleteWithoutATerminal) {
    BuildTwoCards();
    const std::string before = Dump("SYSTEM");
    EXPECT_EQ(RunExecutable({"export", "HKLM\\SYSTEM", "-"}).out,
              Run({"export", "HKLM\\SYSTEM", "-"}).out);
    const ToolRun no_terminal = RunExecutable({"delete", "HKLM\\SYSTEM"});
    EXPECT_EQ(no_terminal.status, 1);
    EXPECT_NE(no_terminal.err.find("no terminal"), std::string::npos) << no_terminal.err;
    EXPECT_EQ(Dump("SYSTEM"), before);
}

// (The program as built for use never reads the fault variables: Package.DebianPackage.)

}  // namespace
}  // namespace zov::test
