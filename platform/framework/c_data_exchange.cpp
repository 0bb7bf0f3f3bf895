#include "platform/framework/c_data_exchange.h"

#include "platform/framework/c_wnd.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    HWND hWndCtrl = m_pDlgWnd != nullptr ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (hWndCtrl == nullptr) {
        // Nothing to exchange with; the dialog does not match its data exchange.
        m_idLastControl = 0;
        m_bFailed = true;
    }
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = hWndCtrl != nullptr ? TRUE : FALSE;
    return hWndCtrl;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_idLastControl != 0 && m_pDlgWnd != nullptr) {
        HWND hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl);
        ::SetFocus(hWndLastControl);
        if (m_bEditLastControl) {
            ::SendMessageA(hWndLastControl, EM_SETSEL, 0, -1);
        }
    }
    m_bFailed = true;
}
