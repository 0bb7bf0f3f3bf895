// CWinApp: the one application object. The program defines one global object of a class
// derived from it; main() hands control to AfxWinMain, which runs InitInstance and returns the
// exit code of ExitInstance.
#pragma once

#include <string>

#include "platform/win32.h"

class CWinApp {
  public:
    // Without a name, the application's title is the executable's file name without directory
    // or extension.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    LPCSTR m_pszAppName = nullptr;  // the application's title, the caption of message boxes
    LPCSTR m_pszExeName = nullptr;  // the executable's file name without extension
    HINSTANCE m_hInstance = nullptr;

    // Looks at the command line before the terminal is opened. Returning FALSE ends the run at
    // once with nExitCode (for example after printing a usage text). The base accepts anything.
    virtual BOOL CheckCommandLine(int argc, char** argv, int& nExitCode);
    // Once per run, after the command line and before the terminal is opened. FALSE ends the
    // run with exit code 2; the application has then said why on standard error.
    virtual BOOL InitApplication();
    // The application's work. FALSE: there is no main window to run, go straight to
    // ExitInstance.
    virtual BOOL InitInstance();
    // What runs after a successful InitInstance; there is no message loop outside modal dialogs,
    // so the base goes straight to ExitInstance.
    virtual int Run();
    // The process exit code; the base returns 0.
    virtual int ExitInstance();

    // Draws the dialogs with the three-dimensional look.
    BOOL Enable3dControls();
    // Shows a line on the desktop below the main dialog, outside it (ours, not MFC's); empty
    // or null removes it.
    void SetDesktopNote(LPCSTR lpszNote);

    // Sets the title and executable name from argv[0], unless the object was given a name.
    void SetAppNameFromPath(LPCSTR lpszPath);

  private:
    std::string m_strAppName;
    std::string m_strExeName;
};

// The application object, or null when none has been constructed.
CWinApp* AfxGetApp();
