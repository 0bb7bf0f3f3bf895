// The built zovreg executable: exit statuses, streams and the terminal question.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "zovreg_test_support.h"

namespace zov::test {
namespace {

class ExecutableTest : public ZovregTest {
  protected:
    // Runs the executable in a new session, so it has no controlling terminal, with stdin from
    // /dev/null and stdout and stderr collected in files.
    ToolRun RunExecutable(std::vector<std::string> args) {
        const std::string out = PathInDir("stdout");
        const std::string err = PathInDir("stderr");
        const pid_t child = fork();
        if (child == 0) {
            setsid();
            dup2(open("/dev/null", O_RDONLY), 0);
            dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            std::string program = ZOVREG_EXECUTABLE;
            std::vector<char*> argv = {program.data()};
            for (std::string& arg : args) {
                argv.push_back(arg.data());
            }
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        int status = 0;
        EXPECT_EQ(waitpid(child, &status, 0), child);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadText(out),
                ReadText(err)};
    }
};

TEST_F(ExecutableTest, UsageErrorsExitWithTwoAndOneLine) {
    const std::vector<std::vector<std::string>> cases = {
        {}, {"frobnicate"}, {"query", "HKLM", "--bogus"}, {"export", "HKLM\\SYSTEM"}};
    for (const std::vector<std::string>& args : cases) {
        const ToolRun run = RunExecutable(args);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("zovreg: ", 0), 0U) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

TEST_F(ExecutableTest, HelpAndVersionExitWithZero) {
    const ToolRun help = RunExecutable({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: zovreg COMMAND", 0), 0U) << help.out;
    EXPECT_EQ(help.err, "");
    const ToolRun verb_help = RunExecutable({"import", "--help"});
    EXPECT_EQ(verb_help.status, 0);
    EXPECT_EQ(verb_help.out.rfind("Usage: zovreg import", 0), 0U) << verb_help.out;
    EXPECT_EQ(RunExecutable({"--version"}).status, 0);
}

TEST_F(ExecutableTest, ExportToStandardOutputImportsBack) {
    BuildTwoCards();
    const std::string before = Dump("SYSTEM");
    const ToolRun exported = RunExecutable({"export", "HKLM\\SYSTEM", "-"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out.substr(0, 2), "\xFF\xFE");
    WriteText(PathInDir("saved.reg"), exported.out);
    ASSERT_EQ(RunExecutable({"delete", "--force", "HKLM\\SYSTEM"}).status, 0);
    EXPECT_NE(Dump("SYSTEM"), before);
    const ToolRun imported = RunExecutable({"import", PathInDir("saved.reg")});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(Dump("SYSTEM"), before);
}

TEST_F(ExecutableTest, FailuresExitWithOneAndChangeNothing) {
    BuildTwoCards();
    const std::string before = Dump("SYSTEM");
    const ToolRun no_terminal = RunExecutable({"delete", "HKLM\\SYSTEM"});
    EXPECT_EQ(no_terminal.status, 1);
    EXPECT_NE(no_terminal.err.find("no terminal"), std::string::npos) << no_terminal.err;
    WriteText(PathInDir("bad.reg"), "REGEDIT4\n[HKLM\\A]\n\"x\"=dword:zz\n");
    const ToolRun malformed = RunExecutable({"import", PathInDir("bad.reg")});
    EXPECT_EQ(malformed.status, 1);
    EXPECT_EQ(malformed.err.rfind("zovreg: " + PathInDir("bad.reg") + ":3: bad dword", 0), 0U)
        << malformed.err;
    EXPECT_EQ(Dump("A"), "<cannot open A: 2>");
    EXPECT_EQ(Dump("SYSTEM"), before);
}

}  // namespace
}  // namespace zov::test
