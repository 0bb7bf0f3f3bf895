#include "platform/framework/c_list_box.h"

#include <vector>

BOOL CListBox::SetTabStops() {
    return static_cast<BOOL>(SendMessage(LB_SETTABSTOPS, 0, 0));
}

BOOL CListBox::SetTabStops(const int& cxEachStop) {
    return static_cast<BOOL>(SendMessage(LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&cxEachStop)));
}

BOOL CListBox::SetTabStops(int nTabStops, const int* rgTabStops) {
    return static_cast<BOOL>(SendMessage(LB_SETTABSTOPS, static_cast<WPARAM>(nTabStops),
                                         reinterpret_cast<LPARAM>(rgTabStops)));
}

int CListBox::AddString(LPCSTR lpszItem) {
    return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszItem)));
}

int CListBox::SelectString(int nStartAfter, LPCSTR lpszItem) {
    return static_cast<int>(SendMessage(LB_SELECTSTRING, static_cast<WPARAM>(nStartAfter),
                                        reinterpret_cast<LPARAM>(lpszItem)));
}

int CListBox::GetCount() const {
    return static_cast<int>(SendMessage(LB_GETCOUNT));
}

int CListBox::GetCurSel() const {
    return static_cast<int>(SendMessage(LB_GETCURSEL));
}

int CListBox::SetCurSel(int nSelect) {
    return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(nSelect)));
}

int CListBox::GetTextLen(int nIndex) const {
    return static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(nIndex)));
}

int CListBox::GetText(int nIndex, LPSTR lpszBuffer) const {
    return static_cast<int>(
        SendMessage(LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
}

void CListBox::GetText(int nIndex, CString& rString) const {
    rString.clear();
    const int length = GetTextLen(nIndex);
    if (length < 0) {
        return;
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetText(nIndex, buffer.data());
    if (copied > 0 && copied <= length) {
        rString.assign(buffer.data(), static_cast<std::size_t>(copied));
    }
}
