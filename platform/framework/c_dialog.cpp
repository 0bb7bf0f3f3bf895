#include "platform/framework/c_dialog.h"

#include "platform/framework/resource_handle.h"

namespace {

// The dialog whose data exchange is running: control notifications that the exchange itself
// causes are not dispatched to its handlers.
HWND g_hWndLockoutNotify = nullptr;

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

const zov::ResourceModule* CDialog::Resources() {
    return static_cast<const zov::ResourceModule*>(AfxGetResourceHandle());
}

const zov::DialogTemplate* CDialog::GetDialogTemplate() const {
    const zov::ResourceModule* module = Resources();
    return module != nullptr ? module->FindDialog(static_cast<int>(m_nIDTemplate)) : nullptr;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd != nullptr) {
        return -1;  // already running
    }
    HWND hWndOwner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : ::GetActiveWindow();
    LPCSTR lpTemplateName = MAKEINTRESOURCEA(m_nIDTemplate);  // NOLINT(performance-no-int-to-ptr)
    const INT_PTR result = ::DialogBoxParamA(AfxGetResourceHandle(), lpTemplateName, hWndOwner,
                                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    // The dialog and its controls are gone: release their objects and wrappers.
    Detach();
    DeleteTempMap();
    DetachDeadWindows();
    return result;
}

INT_PTR CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);  // NOLINT(performance-no-int-to-ptr)
        if (dialog == nullptr || !dialog->Attach(hWnd)) {
            ::EndDialog(hWnd, -1);
            return FALSE;
        }
        return dialog->OnInitDialog();
    }
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (wnd == nullptr) {
        return FALSE;
    }
    LRESULT result = 0;
    if (!wnd->OnWndMsg(message, wParam, lParam, &result)) {
        return FALSE;
    }
    // A dialog procedure returns these results itself; for every other message TRUE says that
    // the message was handled.
    return message == WM_QUERYDRAGICON ? result : TRUE;
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam != 0 && g_hWndLockoutNotify == m_hWnd) {
        return TRUE;  // a notification caused by UpdateData
    }
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CDialog::ExecuteDlgInit() {
    const zov::ResourceModule* module = Resources();
    const zov::DialogInitData* init =
        module != nullptr ? module->FindDialogInit(static_cast<int>(m_nIDTemplate)) : nullptr;
    if (init == nullptr) {
        return TRUE;
    }
    BOOL success = TRUE;
    for (const auto& entry : init->entries) {
        const LRESULT result = ::SendDlgItemMessageA(m_hWnd, entry.controlId, entry.message, 0,
                                                     reinterpret_cast<LPARAM>(entry.text.c_str()));
        // LB_ERR/CB_ERR and LB_ERRSPACE/CB_ERRSPACE: the list refused the entry.
        if ((entry.message == LB_ADDSTRING || entry.message == CB_ADDSTRING ||
             entry.message == LB_INSERTSTRING || entry.message == CB_INSERTSTRING) &&
            result < 0) {
            success = FALSE;
        }
    }
    return success;
}

BOOL CDialog::OnInitDialog() {
    if (!ExecuteDlgInit() || !UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    HWND hWndOldLockout = g_hWndLockoutNotify;
    g_hWndLockoutNotify = m_hWnd;
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    g_hWndLockoutNotify = hWndOldLockout;
    return dx.HasFailed() ? FALSE : TRUE;
}

void CDialog::EndDialog(int nResult) {
    if (m_hWnd != nullptr) {
        ::EndDialog(m_hWnd, nResult);
    }
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;  // the dialog stays open on the refused value
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}
