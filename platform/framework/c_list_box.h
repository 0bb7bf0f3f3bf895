// CListBox: a single-selection list box with strings.
#pragma once

#include "platform/framework/c_wnd.h"

class CListBox : public CWnd {
  public:
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    // Tab stops in dialog units: the default (every 32 units), one distance, or a list.
    BOOL SetTabStops();
    BOOL SetTabStops(const int& cxEachStop);
    BOOL SetTabStops(int nTabStops, const int* rgTabStops);

    // The index of the new entry, LB_ERR or LB_ERRSPACE.
    int AddString(LPCSTR lpszItem);
    // Selects the first entry after nStartAfter that begins with the text, without regard to
    // case; -1 searches from the start. The index, or LB_ERR.
    int SelectString(int nStartAfter, LPCSTR lpszItem);
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int GetTextLen(int nIndex) const;
    // Copies entry nIndex with its terminating zero into the caller's buffer, which must hold
    // GetTextLen(nIndex) + 1 characters. The length, or LB_ERR.
    int GetText(int nIndex, LPSTR lpszBuffer) const;
    // The text of entry nIndex; empty when there is none.
    void GetText(int nIndex, CString& rString) const;
};
