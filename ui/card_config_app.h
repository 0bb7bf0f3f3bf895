// The application object: decides once whether the user may change the configuration, runs the
// card list as the whole user interface, and turns the run into the exit code.
#pragma once

#include "platform/framework/afxwin.h"

class CCardConfigApp : public CWinApp {
  public:
    CCardConfigApp();

    // Refuses to start, with a one-line reason, when the registry cannot be read or is not one.
    BOOL InitApplication() override;
    // Runs the card list dialog from start to end; FALSE, since no message loop follows.
    BOOL InitInstance() override;
    // 1 when a card was added or removed during the run, else 0.
    int ExitInstance() override;

    // Whether the process token lists the local Administrators group among its groups.
    static BOOL IsUserAdmin();
};
