#include "platform/framework/afx_win_main.h"

#include <cstdio>
#include <string>

#include "platform/format.h"
#include "platform/framework/afx_message_box.h"
#include "platform/framework/c_win_app.h"
#include "platform/framework/resource_handle.h"
#include "platform/terminal/curses_terminal.h"

namespace {

// The one-line reason on standard error for a run that could not start.
int CannotRun(const std::string& reason) {
    const std::string line = zov::FormatText("%s: %s\n", AfxGetAppName(), reason.c_str());
    std::fputs(line.c_str(), stderr);
    return 2;
}

// What runs before the terminal is needed. False when the run ends here, with exitCode set.
bool Prepare(CWinApp* app, int argc, char** argv, HINSTANCE hResources, int& exitCode) {
    if (app == nullptr) {
        exitCode = CannotRun("no application object");
        return false;
    }
    app->SetAppNameFromPath(argc > 0 ? argv[0] : nullptr);
    app->m_hInstance = hResources;
    AfxSetResourceHandle(hResources);
    return app->CheckCommandLine(argc, argv, exitCode) != FALSE;
}

int RunApp(CWinApp* app) {
    if (!app->InitApplication()) {
        return CannotRun("the application could not be initialised");
    }
    if (!app->InitInstance()) {
        return app->ExitInstance();
    }
    return app->Run();
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
    const int result = AfxWinMainOnTerminal(*terminal, 0, nullptr, hResources);
    terminal->Close();
    return result;
}
