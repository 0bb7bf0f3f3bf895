#include "ui/card_config_app.h"

#include <cstdio>
#include <string>

#include "platform/format.h"
#include "store/administrator.h"
#include "store/card_globals.h"
#include "store/registry_check.h"
#include "ui/card_list_dlg.h"

namespace {

void Print(FILE* stream, const std::string& text) {
    static_cast<void>(std::fputs(text.c_str(), stream));  // nothing more to do if it fails
}

}  // namespace

CCardConfigApp theApp;

CCardConfigApp::CCardConfigApp() = default;

BOOL CCardConfigApp::InitApplication() {
    if (const auto reason = zov::CheckRegistryReadable()) {
        Print(stderr, zov::FormatText("%s: %s\n", m_pszExeName != nullptr ? m_pszExeName : "zovcfg",
                                      reason->c_str()));
        return FALSE;
    }
    return TRUE;
}

BOOL CCardConfigApp::InitInstance() {
    Enable3dControls();
    CCardListDlg dlg;
    g_nChangeCount = 0;
    g_bIsAdmin = IsUserAdmin();
    SetDesktopNote(g_bIsAdmin ? nullptr
                              : "Read-only: adding or removing cards needs administrator rights "
                                "(group 0).");
    dlg.DoModal();
    return FALSE;
}

int CCardConfigApp::ExitInstance() {
    CWinApp::ExitInstance();
    return g_nChangeCount != 0 ? 1 : 0;
}

BOOL CCardConfigApp::IsUserAdmin() {
    return zov::IsUserAdministrator() ? TRUE : FALSE;
}
