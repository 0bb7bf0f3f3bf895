#include "platform/framework/c_combo_box.h"

#include <vector>

int CComboBox::AddString(LPCSTR lpszString) {
    return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString)));
}

int CComboBox::SelectString(int nStartAfter, LPCSTR lpszString) {
    return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(nStartAfter),
                                        reinterpret_cast<LPARAM>(lpszString)));
}

int CComboBox::SetCurSel(int nSelect) {
    return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect)));
}

int CComboBox::GetCurSel() const {
    return static_cast<int>(SendMessage(CB_GETCURSEL));
}

int CComboBox::GetCount() const {
    return static_cast<int>(SendMessage(CB_GETCOUNT));
}

int CComboBox::GetLBTextLen(int nIndex) const {
    return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)));
}

int CComboBox::GetLBText(int nIndex, LPSTR lpszText) const {
    return static_cast<int>(
        SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszText)));
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
    rString.clear();
    const int length = GetLBTextLen(nIndex);
    if (length < 0) {
        return;
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetLBText(nIndex, buffer.data());
    if (copied > 0 && copied <= length) {
        rString.assign(buffer.data(), static_cast<std::size_t>(copied));
    }
}
