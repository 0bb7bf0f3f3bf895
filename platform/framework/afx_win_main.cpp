#include "platform/framework/afx_win_main.h"

#include <cstdio>
#include <string>

#include "platform/dialog/dialog_manager.h"
#include "platform/format.h"
#include "platform/framework/afx_message_box.h"
#include "platform/framework/c_win_app.h"
#include "platform/framework/resource_handle.h"
#include "platform/terminal/curses_terminal.h"

namespace {

// The one-line reason on standard error for a run that could not start.
int CannotRun(const std::string& reason) {
    const std::string line = zov::FormatText("%s: %s\n", AfxGetAppName(), reason.c_str());
    static_cast<void>(std::fputs(line.c_str(), stderr));  // nothing more to do if it fails
    return 2;
}

// What runs before the terminal is needed. False when the run ends here, with exitCode set.
bool Prepare(CWinApp* app, int argc, char** argv, HINSTANCE hResources, int& exitCode) {
    if (app == nullptr) {
        exitCode = CannotRun("no application object");
        return false;
    }
    app->SetAppNameFromPath(argc > 0 && argv != nullptr ? argv[0] : nullptr);
    app->m_hInstance = hResources;
    AfxSetResourceHandle(hResources);
    if (!app->CheckCommandLine(argc, argv, exitCode)) {
        return false;
    }
    // Before the terminal is touched, so that a run that cannot start leaves the screen alone;
    // the application has said why.
    if (!app->InitApplication()) {
        exitCode = 2;
        return false;
    }
    return true;
}

int RunOnTerminal(CWinApp* app, zov::Terminal& terminal) {
    zov::AttachTerminal(&terminal);
    int exitCode = 0;
    if (!app->InitInstance()) {
        exitCode = app->ExitInstance();
    } else {
        exitCode = app->Run();
    }
    zov::AttachTerminal(nullptr);
    return exitCode;
}

}  // namespace

int AfxWinMain(int argc, char** argv, HINSTANCE hResources) {
    CWinApp* app = AfxGetApp();
    int exitCode = 0;
    if (!Prepare(app, argc, argv, hResources, exitCode)) {
        return exitCode;
    }
    std::string error;
    std::unique_ptr<zov::CursesTerminal> terminal = zov::CursesTerminal::Open(error);
    if (!terminal) {
        return CannotRun(error.empty() ? "no terminal" : error);
    }
    exitCode = RunOnTerminal(app, *terminal);
    terminal->Close();
    return exitCode;
}

int AfxWinMainOnTerminal(zov::Terminal& terminal, int argc, char** argv, HINSTANCE hResources) {
    CWinApp* app = AfxGetApp();
    int exitCode = 0;
    if (!Prepare(app, argc, argv, hResources, exitCode)) {
        return exitCode;
    }
    return RunOnTerminal(app, terminal);
}
