// The application object: its title, the order of its overridables and the exit code. (A failed
// InitApplication and the exit code of a run that ends in InitInstance: tests/integrity/ui.)
// (The framework message box and a start without a terminal are run by the utility's tests.)
#include <gtest/gtest.h>

#include <string>

#include "platform/framework/afx_message_box.h"
#include "platform/framework/afx_win_main.h"
#include "platform/framework/c_win_app.h"
#include "test_resources.h"

namespace framework_test {
namespace {

// Records the overridables as they run and returns what the test asks for.
class RecordingApp : public CWinApp {
  public:
    std::string m_calls;  // the initial of each overridable run, in order (C: CheckCommandLine)
    BOOL m_bAcceptCommandLine = TRUE;
    int m_nExitCode = 0;

    BOOL Record(char call, BOOL result) {
        m_calls += call;
        return result;
    }
    BOOL CheckCommandLine(int argc, char** /*argv*/, int& nExitCode) override {
        nExitCode = 5;
        return Record(argc == 2 ? 'C' : '?', m_bAcceptCommandLine);
    }
    BOOL InitApplication() override { return Record('A', TRUE); }
    BOOL InitInstance() override { return Record('I', TRUE); }
    int Run() override { return Record('R', TRUE) ? CWinApp::Run() : 0; }
    int ExitInstance() override { return CWinApp::ExitInstance(), Record('E', m_nExitCode); }
};

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
        int exit_code;
        const char* calls;
    } kCases[] = {
        {TRUE, 7, "CAIRE"}, {FALSE, 5, "C"},  // a refused command line gives its own code
    };
    std::string program = "/usr/bin/zovcfg";
    std::string option = "--help";
    char* argv[] = {program.data(), option.data(), nullptr};
    for (const auto& row : kCases) {
        RecordingApp app;
        app.m_bAcceptCommandLine = row.accept_command_line;
        app.m_nExitCode = row.exit_code;
        EXPECT_EQ(AfxWinMainOnTerminal(Screen(), 2, argv, Module()), row.exit_code);
        EXPECT_EQ(app.m_calls, row.calls);
    }
}

}  // namespace
}  // namespace framework_test
