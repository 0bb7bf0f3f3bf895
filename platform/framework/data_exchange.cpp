#include "platform/framework/data_exchange.h"

#include <vector>

#include "platform/format.h"
#include "platform/framework/afx_message_box.h"

namespace {

bool IsRadioButton(const zov::ControlTemplate& control) {
    const DWORD type = control.style & BS_TYPEMASK;
    return control.controlClass == zov::ControlClass::Button &&
           (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

// The ids of the radio buttons of the group that starts at firstId, in template order.
std::vector<int> RadioGroup(const zov::DialogTemplate& dialog, int firstId) {
    std::vector<int> ids;
    bool inGroup = false;
    for (const auto& control : dialog.controls) {
        if (inGroup && (control.style & WS_GROUP) != 0) {
            break;
        }
        if (!inGroup && control.id == firstId) {
            inGroup = true;
        }
        if (inGroup && IsRadioButton(control)) {
            ids.push_back(control.id);
        }
    }
    return ids;
}

// Replaces every "%1" of the message with the argument.
CString FormatString1(const CString& message, const CString& argument) {
    CString result;
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '%' && i + 1 < message.size() && message[i + 1] == '1') {
            result += argument;
            ++i;
        } else {
            result += message[i];
        }
    }
    return result;
}

}  // namespace

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (pDX->HasFailed() || rControl.m_hWnd != nullptr) {
        return;
    }
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl != nullptr && !rControl.Attach(hWndCtrl)) {
        // Another object already stands for this control.
        pDX->Fail();
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX->HasFailed()) {
        return;
    }
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (hWndCtrl == nullptr) {
        return;
    }
    CWnd* control = CWnd::FromHandle(hWndCtrl);
    if (pDX->m_bSaveAndValidate) {
        control->GetWindowText(value);
    } else {
        control->SetWindowText(value.c_str());
    }
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX->HasFailed()) {
        return;
    }
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl == nullptr) {
        return;
    }
    CWnd* control = CWnd::FromHandle(hWndCtrl);
    if (pDX->m_bSaveAndValidate) {
        control->GetWindowText(value);
        if (value.empty()) {
            // A drop-down list may keep no window text of its own: its text is the selection.
            const auto selected = static_cast<int>(::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0));
            const auto length = static_cast<int>(
                ::SendMessageA(hWndCtrl, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0));
            if (selected >= 0 && length > 0) {
                std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
                ::SendMessageA(hWndCtrl, CB_GETLBTEXT, static_cast<WPARAM>(selected),
                               reinterpret_cast<LPARAM>(buffer.data()));
                value = buffer.data();
            }
        }
    } else if (::SendMessageA(hWndCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(value.c_str())) == CB_ERR) {
        control->SetWindowText(value.c_str());
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->HasFailed()) {
        return;
    }
    if (pDX->PrepareCtrl(nIDC) == nullptr) {
        return;
    }
    const zov::DialogTemplate* dialog = pDX->m_pDlgWnd->GetDialogTemplate();
    if (dialog == nullptr) {
        pDX->Fail();
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = -1;
    }
    int index = 0;
    for (int id : RadioGroup(*dialog, nIDC)) {
        HWND hWndButton = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id);
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageA(hWndButton, BM_GETCHECK, 0, 0) != BST_UNCHECKED) {
                value = index;
            }
        } else {
            ::SendMessageA(hWndButton, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED,
                           0);
        }
        ++index;
    }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (pDX->HasFailed()) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        if (nChars >= 0 && value.size() > static_cast<std::size_t>(nChars)) {
            const CString prompt = FormatString1("Please enter no more than %1 characters.",
                                                 zov::FormatText("%d", nChars));
            AfxMessageBox(prompt.c_str(), MB_ICONEXCLAMATION);
            pDX->Fail();
        }
    } else if (pDX->m_idLastControl != 0 && pDX->m_bEditLastControl) {
        HWND hWndLastControl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, pDX->m_idLastControl);
        ::SendMessageA(hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
    }
}
