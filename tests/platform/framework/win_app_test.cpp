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

// Records the overridables as they run and returns what the test asks for.
class RecordingApp : public CWinApp {
  public:
    std::vector<std::string> m_calls;
    BOOL m_bAcceptCommandLine = TRUE;
    int m_nCommandLineExitCode = 0;
    BOOL m_bInitApplication = TRUE;
    BOOL m_bInitInstance = FALSE;
    int m_nExitCode = 0;
    std::vector<std::string> m_arguments;

    BOOL CheckCommandLine(int argc, char** argv, int& nExitCode) override {
        m_calls.emplace_back("CheckCommandLine");
        for (int i = 1; i < argc; ++i) {
            m_arguments.emplace_back(argv[i]);
        }
        nExitCode = m_nCommandLineExitCode;
        return m_bAcceptCommandLine;
    }
    BOOL InitApplication() override {
        m_calls.emplace_back("InitApplication");
        return m_bInitApplication;
    }
    BOOL InitInstance() override {
        m_calls.emplace_back("InitInstance");
        return m_bInitInstance;
    }
    int Run() override {
        m_calls.emplace_back("Run");
        return CWinApp::Run();
    }
    int ExitInstance() override {
        m_calls.emplace_back("ExitInstance");
        CWinApp::ExitInstance();
        return m_nExitCode;
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
    argv.reserve(arguments.size() + 1);
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return AfxWinMainOnTerminal(terminal, static_cast<int>(arguments.size()), argv.data(),
                                const_cast<zov::ResourceModule*>(&TestResources()));
}

TEST(AppTitle, IsTheExecutableNameWithoutDirectoryOrExtension) {
    const struct {
        const char* path;
        const char* title;
    } kCases[] = {{"/usr/local/bin/zovcfg", "zovcfg"},
                  {"zovcfg", "zovcfg"},
                  {"./build/zovcfg.exe", "zovcfg"},
                  {"/opt/tool.v2/cardtool.bin", "cardtool"},
                  {"/opt/.hidden", ".hidden"}};
    for (const auto& expected : kCases) {
        CWinApp app;
        app.SetAppNameFromPath(expected.path);
        EXPECT_STREQ(app.m_pszAppName, expected.title) << expected.path;
        EXPECT_STREQ(app.m_pszExeName, expected.title) << expected.path;
        EXPECT_STREQ(AfxGetAppName(), expected.title);
    }
}

TEST(AppTitle, AGivenNameIsKept) {
    CWinApp app("Card Tool");
    app.SetAppNameFromPath("/usr/bin/zovcfg");
    EXPECT_STREQ(app.m_pszAppName, "Card Tool");
    EXPECT_STREQ(app.m_pszExeName, "zovcfg");
}

TEST(AppObject, IsFoundUntilDestroyed) {
    EXPECT_EQ(AfxGetApp(), nullptr);
    {
        CWinApp app;
        EXPECT_EQ(AfxGetApp(), &app);
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_STREQ(AfxGetAppName(), "");
}

using AppRunTest = FrameworkTest;

TEST_F(AppRunTest, FalseFromInitInstanceGoesStraightToExitInstance) {
    RecordingApp app;
    app.m_nExitCode = 1;
    EXPECT_EQ(RunWithArguments(Screen(), {"/usr/bin/zovcfg"}), 1);
    EXPECT_EQ(app.m_calls, (std::vector<std::string>{"CheckCommandLine", "InitApplication",
                                                     "InitInstance", "ExitInstance"}));
    EXPECT_STREQ(app.m_pszAppName, "zovcfg");
}

TEST_F(AppRunTest, TrueFromInitInstanceRunsAndStillEndsWithExitInstance) {
    RecordingApp app;
    app.m_bInitInstance = TRUE;
    app.m_nExitCode = 7;
    EXPECT_EQ(RunWithArguments(Screen(), {"zovcfg"}), 7);
    EXPECT_EQ(app.m_calls, (std::vector<std::string>{"CheckCommandLine", "InitApplication",
                                                     "InitInstance", "Run", "ExitInstance"}));
}

TEST_F(AppRunTest, CommandLineCanEndTheRunBeforeAnythingElse) {
    RecordingApp app;
    app.m_bAcceptCommandLine = FALSE;
    app.m_nCommandLineExitCode = 0;
    EXPECT_EQ(RunWithArguments(Screen(), {"zovcfg", "--help"}), 0);
    EXPECT_EQ(app.m_calls, (std::vector<std::string>{"CheckCommandLine"}));
    EXPECT_EQ(app.m_arguments, (std::vector<std::string>{"--help"}));
}

TEST_F(AppRunTest, FailedInitApplicationEndsWithTwo) {
    RecordingApp app;
    app.m_bInitApplication = FALSE;
    EXPECT_EQ(RunWithArguments(Screen(), {"zovcfg"}), 2);
    EXPECT_EQ(app.m_calls, (std::vector<std::string>{"CheckCommandLine", "InitApplication"}));
}

TEST_F(AppRunTest, MessageBoxCarriesTheTitleAsCaption) {
    MessageApp app;
    Screen().PushCallback([&] {
        int x = 0;
        int y = 0;
        EXPECT_TRUE(Screen().Find("Card Registry Not Found", &x, &y)) << Screen().Text();
        EXPECT_TRUE(Screen().Find("cardtool", &x, &y)) << Screen().Text();
        EXPECT_TRUE(Screen().Find("OK", &x, &y));
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
        close(errorPipe[0]);
        RecordingApp app;
        app.m_nExitCode = 9;
        std::string name = "/usr/bin/zovcfg";
        char* argv[] = {name.data(), nullptr};
        _exit(AfxWinMain(1, argv, const_cast<zov::ResourceModule*>(&TestResources())));
    }
    close(errorPipe[1]);
    std::string output;
    std::vector<char> chunk(256);
    ssize_t got = 0;
    while ((got = read(errorPipe[0], chunk.data(), chunk.size())) > 0) {
        output.append(chunk.data(), static_cast<std::size_t>(got));
    }
    close(errorPipe[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_EQ(output.rfind("zovcfg: ", 0), 0U) << output;
    ASSERT_FALSE(output.empty());
    EXPECT_EQ(output.back(), '\n');
    EXPECT_EQ(output.find('\n'), output.size() - 1) << "one line: " << output;
}

}  // namespace
}  // namespace framework_test
