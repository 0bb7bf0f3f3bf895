#include "dialog_harness.h"

#include <vector>

namespace zov::test {

DialogHarness* DialogHarness::current_ = nullptr;

ControlTemplate PushButtonAt(int id, const std::string& text, int x, int y, DWORD extra) {
    return {id,   ControlClass::Button,
            text, x,
            y,    50,
            14,   static_cast<DWORD>(kChild | WS_TABSTOP | extra)};
}

ControlTemplate RadioAt(int id, const std::string& text, int x, int y, int cx, DWORD extra) {
    return {id,   ControlClass::Button,
            text, x,
            y,    cx,
            10,   static_cast<DWORD>(kChild | BS_AUTORADIOBUTTON | extra)};
}

ControlTemplate StaticAt(const std::string& text, int x, int y, int cx, int cy, DWORD extra) {
    return {
        IDC_STATIC, ControlClass::Static, text, x, y, cx, cy, static_cast<DWORD>(kChild | extra)};
}

ControlTemplate GroupBoxAt(const std::string& text, int x, int y, int cx, int cy) {
    return {IDC_STATIC, ControlClass::Button,
            text,       x,
            y,          cx,
            cy,         static_cast<DWORD>(kChild | BS_GROUPBOX)};
}

ControlTemplate ListAt(int id, int x, int y, int cx, int cy, DWORD extra) {
    return {id, ControlClass::ListBox,
            "", x,
            y,  cx,
            cy, static_cast<DWORD>(kChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | extra)};
}

ControlTemplate ComboAt(int id, int x, int y, int cx, int cy, DWORD extra) {
    return {id, ControlClass::ComboBox,
            "", x,
            y,  cx,
            cy, static_cast<DWORD>(kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | extra)};
}

ControlTemplate EditAt(int id, int x, int y, int cx, int cy, DWORD extra) {
    return {id, ControlClass::Edit,
            "", x,
            y,  cx,
            cy, static_cast<DWORD>(kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | extra)};
}

DialogTemplate DialogOf(int id, const std::string& caption, int cx, int cy,
                        std::vector<ControlTemplate> controls, DWORD extra) {
    DialogTemplate dialog;
    dialog.id = id;
    dialog.caption = caption;
    dialog.cx = cx;
    dialog.cy = cy;
    dialog.style = static_cast<DWORD>(kPopup | extra);
    dialog.controls = std::move(controls);
    return dialog;
}

DialogHarness::DialogHarness(int width, int height) : screen(width, height) {
    current_ = this;
    AttachTerminal(&screen);
    SetThreeDimensionalLook(false);
}

DialogHarness::~DialogHarness() {
    AttachTerminal(nullptr);
    current_ = nullptr;
}

INT_PTR DialogHarness::Run(int id, HWND owner, LPARAM init) {
    return DialogBoxParamA(Module(), MAKEINTRESOURCEA(id), owner, &DialogHarness::Proc, init);
}

INT_PTR DialogHarness::Proc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    DialogHarness* self = current_;
    if (self == nullptr) {
        return FALSE;
    }
    self->messages.push_back(msg);
    if (self->onAnyMessage) {
        self->onAnyMessage(hDlg, msg, wParam, lParam);
    }
    switch (msg) {
        case WM_INITDIALOG:
            self->last = hDlg;
            self->initParams.push_back(lParam);
            self->initFocusParams.push_back(reinterpret_cast<HWND>(wParam));
            return self->onInit ? self->onInit(hDlg) : TRUE;
        case WM_COMMAND: {
            const int commandId = LOWORD(wParam);
            self->commands.push_back({commandId, HIWORD(wParam)});
            auto hook = self->onCommand.find(commandId);
            if (hook != self->onCommand.end()) {
                hook->second(hDlg);
                return TRUE;
            }
            if ((commandId == IDOK || commandId == IDCANCEL) && HIWORD(wParam) == BN_CLICKED) {
                EndDialog(hDlg, commandId);
            }
            return TRUE;
        }
        default:
            return FALSE;
    }
}

std::string TextOf(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(window, buffer.data(), length + 1);
    return std::string(buffer.data());
}

int FocusId() {
    HWND focus = GetFocus();
    return focus != nullptr ? GetDlgCtrlID(focus) : 0;
}

}  // namespace zov::test
