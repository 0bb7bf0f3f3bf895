#include "ui/card_config_app.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/format.h"
#include "store/card_globals.h"
#include "store/registry_check.h"
#include "ui/card_list_dlg.h"

namespace {

constexpr const char* kVersion = ZOVCFG_VERSION;  // the project version, set by the build

void Print(FILE* stream, const std::string& text) {
    static_cast<void>(std::fputs(text.c_str(), stream));  // nothing more to do if it fails
}

// The token's group list, read whole whatever its size; empty when it cannot be read.
std::vector<DWORD_PTR> ReadTokenGroups(HANDLE token) {
    // The list's size may change between the two calls; a few tries settle it.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD needed = 0;
        GetTokenInformation(token, TokenGroups, nullptr, 0, &needed);
        if (needed == 0) {
            return {};
        }
        // Whole pointers keep the SIDs inside the buffer aligned.
        std::vector<DWORD_PTR> buffer((needed + sizeof(DWORD_PTR) - 1) / sizeof(DWORD_PTR));
        const auto size = static_cast<DWORD>(buffer.size() * sizeof(DWORD_PTR));
        if (GetTokenInformation(token, TokenGroups, buffer.data(), size, &needed)) {
            return buffer;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            return {};
        }
    }
    return {};
}

}  // namespace

CCardConfigApp theApp;

CCardConfigApp::CCardConfigApp() = default;

BOOL CCardConfigApp::CheckCommandLine(int argc, char** argv, int& nExitCode) {
    if (argc <= 1) {
        return TRUE;
    }
    const char* name = m_pszExeName != nullptr ? m_pszExeName : "zovcfg";
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        Print(stdout,
              zov::FormatText(
                  "Usage: %s\n"
                  "Configure the cards of the ZOV multi-port serial adapter driver: list the\n"
                  "configured cards, add an ISA or PCI card, show a card's properties, remove a\n"
                  "card. It runs in the terminal; only administrators may add or remove cards.\n"
                  "\n"
                  "  --help     show this help and exit\n"
                  "  --version  show the version and exit\n"
                  "\n"
                  "The registry is the database file $ZOVCFG_REGISTRY, or\n"
                  "/var/lib/zovcfg/registry.db when that is unset.\n"
                  "Exit status: 0 nothing changed, 1 a card was added or removed, 2 it could\n"
                  "not run.\n",
                  name));
        nExitCode = 0;
        return FALSE;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        Print(stdout, zov::FormatText("%s %s\n", name, kVersion));
        nExitCode = 0;
        return FALSE;
    }
    Print(stderr, zov::FormatText("%s: unexpected argument '%s'\nUsage: %s [--help | --version]\n",
                                  name, argv[1], name));
    nExitCode = 2;
    return FALSE;
}

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
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &token)) {
        return FALSE;
    }
    const std::vector<DWORD_PTR> buffer = ReadTokenGroups(token);
    CloseHandle(token);
    if (buffer.empty()) {
        return FALSE;
    }
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                  DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators)) {
        return FALSE;
    }
    // The attributes are not looked at: a listed group counts, enabled or not.
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    const SID_AND_ATTRIBUTES* group = groups->Groups;
    for (DWORD i = 0; i < groups->GroupCount; ++i, ++group) {
        if (EqualSid(group->Sid, administrators)) {
            FreeSid(administrators);
            return TRUE;
        }
    }
    FreeSid(administrators);
    return FALSE;
}
