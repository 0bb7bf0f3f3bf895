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

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

// Runs the executable in a new session, so it has no controlling terminal, with stdin from
// /dev/null and stdout and stderr collected (stderr read after stdout; both stay small).
ToolRun RunExecutable(const std::vector<std::string>& args) {
    int out_pipe[2];
    int err_pipe[2];
    EXPECT_EQ(pipe(out_pipe), 0);
    EXPECT_EQ(pipe(err_pipe), 0);
    const pid_t child = fork();
    if (child == 0) {
        setsid();
        const int null = open("/dev/null", O_RDONLY);
        dup2(null, 0);
        dup2(out_pipe[1], 1);
        dup2(err_pipe[1], 2);
        close(out_pipe[0]);
        close(err_pipe[0]);
        std::vector<char*> argv;
        std::string program = ZOVREG_EXECUTABLE;
        argv.push_back(program.data());
        std::vector<std::string> copies = args;
        for (std::string& arg : copies) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(out_pipe[1]);
    close(err_pipe[1]);
    ToolRun run;
    run.out = ReadAll(out_pipe[0]);
    run.err = ReadAll(err_pipe[0]);
    close(out_pipe[0]);
    close(err_pipe[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

using ExecutableTest = ZovregTest;

void ExpectUsageError(const ToolRun& run) {
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("zovreg: ", 0), 0U) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

TEST_F(ExecutableTest, UsageErrorsExitWithTwoAndOneLine) {
    ExpectUsageError(RunExecutable({}));
    ExpectUsageError(RunExecutable({"frobnicate"}));
    ExpectUsageError(RunExecutable({"query"}));
    ExpectUsageError(RunExecutable({"query", "HKLM", "--bogus"}));
    ExpectUsageError(RunExecutable({"export", "HKLM\\SYSTEM"}));
    ExpectUsageError(RunExecutable({"export", "HKLM", "f.reg", "--format=regedit9"}));
    ExpectUsageError(RunExecutable({"delete", "HKEY_CURRENT_USER\\Software", "-f"}));
}

TEST_F(ExecutableTest, HelpAndVersionExitWithZero) {
    const ToolRun help = RunExecutable({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: zovreg COMMAND", 0), 0U) << help.out;
    EXPECT_EQ(help.err, "");
    for (const char* verb : {"query", "export", "import", "delete"}) {
        const ToolRun verb_help = RunExecutable({verb, "--help"});
        EXPECT_EQ(verb_help.status, 0) << verb;
        EXPECT_EQ(verb_help.out.rfind(std::string("Usage: zovreg ") + verb, 0), 0U) << verb;
    }
    const ToolRun version = RunExecutable({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("zovreg ", 0), 0U);
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

TEST_F(ExecutableTest, DeleteWithoutTerminalOrForceIsRefused) {
    BuildTwoCards();
    const std::string before = Dump("SYSTEM");
    const ToolRun run = RunExecutable({"delete", "HKLM\\SYSTEM"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no terminal"), std::string::npos) << run.err;
    EXPECT_EQ(Dump("SYSTEM"), before);
}

TEST_F(ExecutableTest, MalformedImportExitsWithOneAndTheLine) {
    WriteText(PathInDir("bad.reg"), "REGEDIT4\n[HKLM\\A]\n\"x\"=dword:zz\n");
    const ToolRun run = RunExecutable({"import", PathInDir("bad.reg")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("zovreg: " + PathInDir("bad.reg") + ":3: bad dword", 0), 0U) << run.err;
    EXPECT_EQ(Dump("A"), "<cannot open A: 2>");
}

}  // namespace
}  // namespace zov::test
