// The application object: its title, the order of its overridables, the exit code, the
// framework message box, and a start without a terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/framework/afx_message_box.h"
#include "platform/framework/afx_win_main.h"
#include "platform/framework/c_win_app.h"
#include "test_resources.h"

namespace framework_test {
namespace {

using Calls = std::vector<std::string>;

// Records the overridables as they run and returns what the test asks for.
class RecordingApp : public CWinApp {
  public:
    Calls m_calls;
    BOOL m_bAcceptCommandLine = TRUE;
    BOOL m_bInitApplication = TRUE;
    BOOL m_bInitInstance = FALSE;
    int m_nExitCode = 0;

    BOOL Record(const std::string& call, BOOL result) {
        m_calls.push_back(call);
        return result;
    }
    BOOL CheckCommandLine(int argc, char** /*argv*/, int& nExitCode) override {
        nExitCode = 5;
        return Record("CheckCommandLine" + std::to_string(argc), m_bAcceptCommandLine);
    }
    BOOL InitApplication() override { return Record("InitApplication", m_bInitApplication); }
    BOOL InitInstance() override { return Record("InitInstance", m_bInitInstance); }
    int Run() override { return Record("Run", TRUE) ? CWinApp::Run() : 0; }
    int ExitInstance() override {
        return CWinApp::ExitInstance(), Record("ExitInstance", m_nExitCode);
    }
};

// Shows one framework message box from InitInstance and keeps its result.
class MessageApp : public CWinApp {
  public:
    int m_nResult = -100;
    BOOL InitInstance() override {
        m_nResult = AfxMessageBox("Card Registry Not Found");
        return FALSE;
    }
};

int RunWithArguments(zov::Terminal& terminal, std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return AfxWinMainOnTerminal(terminal, static_cast<int>(arguments.size()), argv.data(),
                                const_cast<zov::ResourceModule*>(&TestResources()));
}

TEST(AppTitle, IsTheExecutableNameWithoutDirectoryOrExtension) {
    for (const char* path : {"/usr/local/bin/zovcfg", "zovcfg", "./build.d/zovcfg.exe"}) {
        CWinApp app;
        app.SetAppNameFromPath(path);
        EXPECT_STREQ(app.m_pszAppName, "zovcfg") << path;
        EXPECT_STREQ(AfxGetAppName(), "zovcfg") << path;
    }
}

using AppRunTest = FrameworkTest;

TEST_F(AppRunTest, HooksRunInOrderAndTheExitCodeComesFromWhereTheRunEnded) {
    const struct {
        BOOL accept_command_line;
        BOOL init_application;
        BOOL init_instance;
        int exit_code;
        Calls calls;
    } kCases[] = {
        {TRUE,
         TRUE,
         FALSE,
         1,
         {"CheckCommandLine2", "InitApplication", "InitInstance", "ExitInstance"}},
        {TRUE,
         TRUE,
         TRUE,
         7,
         {"CheckCommandLine2", "InitApplication", "InitInstance", "Run", "ExitInstance"}},
        {FALSE, TRUE, TRUE, 5, {"CheckCommandLine2"}},  // its own exit code
        {TRUE, FALSE, TRUE, 2, {"CheckCommandLine2", "InitApplication"}},
    };
    for (const auto& row : kCases) {
        RecordingApp app;
        app.m_bAcceptCommandLine = row.accept_command_line;
        app.m_bInitApplication = row.init_application;
        app.m_bInitInstance = row.init_instance;
        app.m_nExitCode = row.exit_code;
        EXPECT_EQ(RunWithArguments(Screen(), {"/usr/bin/zovcfg", "--help"}), row.exit_code);
        EXPECT_EQ(app.m_calls, row.calls);
    }
}

TEST_F(AppRunTest, MessageBoxCarriesTheTitleAsCaption) {
    MessageApp app;
    Screen().PushCallback([&] {
        int x = 0;
        int y = 0;
        EXPECT_TRUE(Screen().Find("Card Registry Not Found", &x, &y)) << Screen().Text();
        EXPECT_TRUE(Screen().Find("cardtool", &x, &y)) << Screen().Text();
    });
    Screen().PushKey(zov::Key::Enter);
    EXPECT_EQ(RunWithArguments(Screen(), {"/opt/bin/cardtool"}), 0);
    EXPECT_EQ(app.m_nResult, IDOK);
}

TEST(AppStart, WithoutATerminalEndsWithTwoAndOneLineOnStandardError) {
    int errorPipe[2];
    ASSERT_EQ(pipe(errorPipe), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Standard input is no terminal: the utility must say so and not touch the screen.
        const int nullInput = open("/dev/null", O_RDONLY);
        dup2(nullInput, STDIN_FILENO);
        dup2(nullInput, STDOUT_FILENO);
        dup2(errorPipe[1], STDERR_FILENO);
        RecordingApp app;
        app.m_nExitCode = 9;
        std::string name = "/usr/bin/zovcfg";
        char* argv[] = {name.data(), nullptr};
        _exit(AfxWinMain(1, argv, const_cast<zov::ResourceModule*>(&TestResources())));
    }
    close(errorPipe[1]);
    std::string output;
    char chunk = 0;
    while (read(errorPipe[0], &chunk, 1) == 1) {
        output.push_back(chunk);
    }
    close(errorPipe[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
    EXPECT_EQ(output.rfind("zovcfg: ", 0), 0U) << output;
    EXPECT_EQ(output.find('\n'), output.size() - 1) << "one line: " << output;
}

}  // namespace
}  // namespace framework_test
