// The user32 calls about dialogs and their items: modal dialogs, items by id, buttons, the tab
// and group order, and message boxes.
#include "platform/dialog/desktop.h"
#include "platform/dialog/message_box.h"
#include "platform/dialog/radio_button.h"
#include "platform/dialog/template_lookup.h"
#include "platform/dialog/window_table.h"
#include "platform/win32.h"

using zov::Dialog;
using zov::Window;
using zov::WindowKind;
using zov::WindowTable;

namespace {

Dialog* FindDialog(HWND hDlg) {
    Window* window = WindowTable::Find(hDlg);
    if (window == nullptr) {
        return nullptr;
    }
    if (window->Kind() != WindowKind::Dialog) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return static_cast<Dialog*>(window);
}

Window* FindItem(HWND hDlg, int id) {
    Dialog* dialog = FindDialog(hDlg);
    if (dialog == nullptr) {
        return nullptr;
    }
    Window* item = dialog->Control(id);
    if (item == nullptr) {
        SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    }
    return item;
}

}  // namespace

INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                        DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    const zov::DialogTemplate* dialogTemplate =
        zov::TemplateLookup::Find(hInstance, lpTemplateName);
    if (dialogTemplate == nullptr) {
        return -1;
    }
    Dialog* owner = nullptr;
    if (hWndParent != nullptr) {
        Window* parent = WindowTable::Find(hWndParent);
        if (parent == nullptr) {
            return -1;
        }
        // A control as parent means its dialog, the top-level window, as on Windows.
        owner =
            parent->Kind() == WindowKind::Dialog ? static_cast<Dialog*>(parent) : parent->Parent();
    }
    return zov::Desktop::Get().RunModal(*dialogTemplate, owner, lpDialogFunc, dwInitParam);
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult) {
    Dialog* dialog = FindDialog(hDlg);
    if (dialog == nullptr) {
        return FALSE;
    }
    dialog->End(nResult);
    return TRUE;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
    Window* item = FindItem(hDlg, nIDDlgItem);
    return item != nullptr ? item->Handle() : nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
    Window* window = WindowTable::Find(hWnd);
    if (window == nullptr || window->Kind() == WindowKind::Dialog) {
        return 0;
    }
    return window->Id();
}

LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* item = FindItem(hDlg, nIDDlgItem);
    return item != nullptr ? item->Message(Msg, wParam, lParam) : 0;
}

BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString) {
    Window* item = FindItem(hDlg, nIDDlgItem);
    if (item == nullptr) {
        return FALSE;
    }
    return item->Message(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) == TRUE ? TRUE : FALSE;
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
    Window* item = FindItem(hDlg, nIDButton);
    if (item == nullptr) {
        return FALSE;
    }
    item->Message(BM_SETCHECK, uCheck, 0);
    return TRUE;
}

BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    Dialog* dialog = FindDialog(hDlg);
    if (dialog == nullptr) {
        return FALSE;
    }
    if (nIDFirstButton > nIDLastButton || nIDCheckButton < nIDFirstButton ||
        nIDCheckButton > nIDLastButton || dialog->Control(nIDCheckButton) == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
        if (Window* button = dialog->Control(id)) {
            button->Message(BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton) {
    Window* item = FindItem(hDlg, nIDButton);
    return item != nullptr ? static_cast<UINT>(item->Message(BM_GETCHECK, 0, 0)) : 0;
}

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    return zov::MessageBox::Run(hWnd, lpText, lpCaption, uType);
}
