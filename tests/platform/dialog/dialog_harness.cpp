#include "dialog_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace zov::test {

namespace {

ControlTemplate Control(int id, ControlClass controlClass, const std::string& text, int x, int y,
                        int cx, int cy, DWORD style) {
    return {id, controlClass, text, x, y, cx, cy, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | style),
            0};
}

}  // namespace

DialogHarness* DialogHarness::current_ = nullptr;

ControlTemplate PushButtonAt(int id, const std::string& text, int x, int y, DWORD extra) {
    return Control(id, ControlClass::Button, text, x, y, 50, 14, WS_TABSTOP | extra);
}

ControlTemplate RadioAt(int id, const std::string& text, int x, int y, int cx, DWORD extra) {
    return Control(id, ControlClass::Button, text, x, y, cx, 10, BS_AUTORADIOBUTTON | extra);
}

ControlTemplate StaticAt(const std::string& text, int x, int y, int cx, int cy, DWORD extra) {
    return Control(IDC_STATIC, ControlClass::Static, text, x, y, cx, cy, extra);
}

ControlTemplate GroupBoxAt(const std::string& text, int x, int y, int cx, int cy) {
    return Control(IDC_STATIC, ControlClass::Button, text, x, y, cx, cy, BS_GROUPBOX);
}

ControlTemplate ListAt(int id, int x, int y, int cx, int cy, DWORD extra) {
    return Control(id, ControlClass::ListBox, "", x, y, cx, cy,
                   WS_BORDER | WS_VSCROLL | WS_TABSTOP | extra);
}

ControlTemplate ComboAt(int id, int x, int y, int cx, int cy, DWORD extra) {
    return Control(id, ControlClass::ComboBox, "", x, y, cx, cy,
                   CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | extra);
}

DialogTemplate DialogOf(int id, const std::string& caption, int cx, int cy,
                        std::vector<ControlTemplate> controls, DWORD extra) {
    const auto style =
        static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_VISIBLE | extra);
    return {id, caption, 0, 0, cx, cy, style, 0, "", 0, std::move(controls)};
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

INT_PTR DialogHarness::RunChecking(int id, const std::vector<KeyEvent>& keys,
                                   const std::function<void()>& check) {
    Push(keys);
    bool ran = false;
    screen.PushCallback([&] {
        ran = true;
        check();
        screen.PushKey(Key::Escape);  // after whatever check queued
    });
    const INT_PTR result = Run(id);
    EXPECT_TRUE(ran) << "the dialog ended before the check";
    return result;
}

void DialogHarness::Push(const std::vector<KeyEvent>& keys) {
    for (const KeyEvent& key : keys) {
        screen.PushEvent(Event::FromKey(key));
    }
}

LRESULT DialogHarness::Send(int id, UINT msg, WPARAM wParam, const void* lParam) const {
    return SendDlgItemMessageA(last, id, msg, wParam, reinterpret_cast<LPARAM>(lParam));
}

Spot DialogHarness::Locate(std::string_view text) const {
    Spot spot;
    if (!screen.Find(text, &spot.x, &spot.y)) {
        ADD_FAILURE() << "not on screen: " << text << "\n" << screen.Text();
        return {};
    }
    return spot;
}

int DialogHarness::CountOf(Command command) const {
    return static_cast<int>(std::count(commands.begin(), commands.end(), command));
}

bool DialogHarness::Sent(int id) const {
    return std::any_of(commands.begin(), commands.end(),
                       [id](const Command& command) { return command.id == id; });
}

INT_PTR DialogHarness::Proc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    DialogHarness* self = current_;
    if (self == nullptr) {
        return FALSE;
    }
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

int FocusId() {
    HWND focus = GetFocus();
    return focus != nullptr ? GetDlgCtrlID(focus) : 0;
}

}  // namespace zov::test
