// CComboBox: a drop-down list.
#pragma once

#include "platform/framework/c_wnd.h"

class CComboBox : public CWnd {
  public:
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    // The index of the new entry, CB_ERR or CB_ERRSPACE.
    int AddString(LPCSTR lpszString);
    // Selects the first entry after nStartAfter that begins with the text, without regard to
    // case; -1 searches from the start. The index, or CB_ERR.
    int SelectString(int nStartAfter, LPCSTR lpszString);
    // Selects entry nSelect; -1 clears the selection.
    int SetCurSel(int nSelect);
    int GetCurSel() const;
    int GetCount() const;
    int GetLBTextLen(int nIndex) const;
    // Copies entry nIndex with its terminating zero into the caller's buffer, which must hold
    // GetLBTextLen(nIndex) + 1 characters. The length, or CB_ERR.
    int GetLBText(int nIndex, LPSTR lpszText) const;
    // The text of entry nIndex; empty when there is none.
    void GetLBText(int nIndex, CString& rString) const;
};
