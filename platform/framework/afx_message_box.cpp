#include "platform/framework/afx_message_box.h"

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT /*nIDHelp*/) {
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
            case MB_OK:
            case MB_OKCANCEL:
                nType |= MB_ICONEXCLAMATION;
                break;
            case MB_YESNO:
            case MB_YESNOCANCEL:
                nType |= MB_ICONQUESTION;
                break;
            default:
                break;
        }
    }
    return ::MessageBoxA(::GetActiveWindow(), lpszText != nullptr ? lpszText : "", AfxGetAppName(),
                         nType);
}
