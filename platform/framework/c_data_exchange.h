// CDataExchange: the state of one transfer between a dialog's members and its controls.
//
// A failed validation does not throw: Fail() marks the exchange failed, every DDX_/DDV_ call
// after it does nothing, and UpdateData returns FALSE.
#pragma once

#include "platform/win32.h"

class CWnd;

class CDataExchange {
  public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;

    // The control's window, remembered as the last control for Fail and DDV_ calls. A missing
    // control fails the exchange and gives null.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);

    // Puts the focus on the last control prepared (an edit with its whole text selected) when
    // saving, and marks the exchange failed.
    void Fail();
    bool HasFailed() const { return m_bFailed; }

  private:
    bool m_bFailed = false;
};
