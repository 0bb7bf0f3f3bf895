// CEdit: a single-line edit.
#pragma once

#include "platform/framework/c_wnd.h"

class CEdit : public CWnd {
  public:
    // The most characters the user may enter; 0 restores the default limit.
    void LimitText(int nChars = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
    // Selects characters nStartChar up to nEndChar; 0, -1 selects the whole text.
    void SetSel(int nStartChar, int nEndChar, BOOL /*bNoScroll*/ = FALSE) {
        SendMessage(EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
    }
    void SetReadOnly(BOOL bReadOnly = TRUE) {
        SendMessage(EM_SETREADONLY, static_cast<WPARAM>(bReadOnly));
    }
};
