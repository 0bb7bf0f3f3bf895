#include "platform/framework/c_win_app.h"

#include <filesystem>

#include "platform/dialog/dialog_manager.h"
#include "platform/framework/afx_message_box.h"

namespace {

CWinApp*& CurrentApp() {
    static CWinApp* app = nullptr;
    return app;
}

// "/usr/bin/zovcfg" and "zovcfg.exe" both give "zovcfg".
std::string FileNameWithoutExtension(const std::string& path) {
    std::string name = path;
    const std::size_t slash = name.find_last_of('/');
    if (slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name;
}

}  // namespace

CWinApp::CWinApp(LPCSTR lpszAppName) {
    if (lpszAppName != nullptr) {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName.c_str();
    }
    // The first application object is the application; a later one (a test's) takes over only
    // while none other exists.
    if (CurrentApp() == nullptr) {
        CurrentApp() = this;
    }
}

CWinApp::~CWinApp() {
    if (CurrentApp() == this) {
        CurrentApp() = nullptr;
    }
}

CWinApp* AfxGetApp() {
    return CurrentApp();
}

LPCSTR AfxGetAppName() {
    const CWinApp* app = AfxGetApp();
    return app != nullptr && app->m_pszAppName != nullptr ? app->m_pszAppName : "";
}

void CWinApp::SetAppNameFromPath(LPCSTR lpszPath) {
    std::string path = lpszPath != nullptr ? lpszPath : "";
    if (path.empty()) {
        // No argv[0]: the kernel still knows the executable.
        std::error_code error;
        path = std::filesystem::read_symlink("/proc/self/exe", error).string();
    }
    m_strExeName = FileNameWithoutExtension(path);
    m_pszExeName = m_strExeName.c_str();
    if (m_pszAppName == nullptr) {
        m_strAppName = m_strExeName;
        m_pszAppName = m_strAppName.c_str();
    }
}

BOOL CWinApp::CheckCommandLine(int /*argc*/, char** /*argv*/, int& /*nExitCode*/) {
    return TRUE;
}

BOOL CWinApp::InitApplication() {
    return TRUE;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    return 0;
}

BOOL CWinApp::Enable3dControls() {
    zov::SetThreeDimensionalLook(true);
    return TRUE;
}

void CWinApp::SetDesktopNote(LPCSTR lpszNote) {
    zov::SetDesktopNote(lpszNote != nullptr ? lpszNote : "");
}
