// Runs dialogs built from templates in the tests on an in-memory screen, with a dialog procedure
// that records what it is sent and ends the dialog on IDOK and IDCANCEL, as a framework does.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/dialog/dialog_manager.h"
#include "platform/dialog/resource.h"
#include "platform/terminal/memory_terminal.h"
#include "platform/win32.h"
#include "ui/res/dialog_templates.h"
#include "ui/res/resource.h"

namespace zov::test {

// A control of the templates built in the tests: a child window, visible.
inline ControlTemplate Control(int id, ControlClass controlClass, const std::string& text, int x,
                               int y, int cx, int cy, DWORD style) {
    return {id, controlClass, text, x, y, cx, cy, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | style),
            0};
}
inline ControlTemplate PushButtonAt(int id, const std::string& text, int x, int y,
                                    DWORD extra = 0) {
    return Control(id, ControlClass::Button, text, x, y, 50, 14, WS_TABSTOP | extra);
}
inline ControlTemplate RadioAt(int id, const std::string& text, int x, int y, int cx,
                               DWORD extra = 0) {
    return Control(id, ControlClass::Button, text, x, y, cx, 10, BS_AUTORADIOBUTTON | extra);
}
inline ControlTemplate StaticAt(const std::string& text, int x, int y, int cx, int cy,
                                DWORD extra = 0) {
    return Control(IDC_STATIC, ControlClass::Static, text, x, y, cx, cy, extra);
}
inline ControlTemplate GroupBoxAt(const std::string& text, int x, int y, int cx, int cy) {
    return Control(IDC_STATIC, ControlClass::Button, text, x, y, cx, cy, BS_GROUPBOX);
}
inline ControlTemplate ListAt(int id, int x, int y, int cx, int cy, DWORD extra = 0) {
    return Control(id, ControlClass::ListBox, "", x, y, cx, cy,
                   WS_BORDER | WS_VSCROLL | WS_TABSTOP | extra);
}
inline ControlTemplate ComboAt(int id, int x, int y, int cx, int cy, DWORD extra = 0) {
    return Control(id, ControlClass::ComboBox, "", x, y, cx, cy,
                   CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | extra);
}
inline DialogTemplate DialogOf(int id, const std::string& caption, int cx, int cy,
                               std::vector<ControlTemplate> controls, DWORD extra = 0) {
    const auto style =
        static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_VISIBLE | extra);
    return {id, caption, 0, 0, cx, cy, style, 0, "", 0, std::move(controls)};
}

// The utility's card list and card settings templates, with their ids from ui/res/resource.h: the
// hard cases of layout, tab order and mnemonics.
using zovcfg::res::CardListTemplate;
using zovcfg::res::CardSettingsTemplate;

struct Command {
    int id;
    int code;
    bool operator==(const Command& other) const = default;
};

inline KeyEvent K(Key key, bool alt = false) {
    return {key, 0, alt, false, false};
}
inline KeyEvent Letter(char32_t ch, bool alt = false) {
    return {Key::Character, ch, alt, false, false};
}

// A cell on the screen.
struct Spot {
    int x = 0;
    int y = 0;
};

class DialogHarness {
  public:
    explicit DialogHarness(int width = 80, int height = 25) : screen(width, height) {
        current_ = this;
        AttachTerminal(&screen);
        SetThreeDimensionalLook(false);
    }
    explicit DialogHarness(DialogTemplate dialogTemplate, int width = 80, int height = 25)
        : DialogHarness(width, height) {
        Add(std::move(dialogTemplate));
    }
    ~DialogHarness() {
        AttachTerminal(nullptr);
        current_ = nullptr;
    }
    DialogHarness(const DialogHarness&) = delete;
    DialogHarness& operator=(const DialogHarness&) = delete;

    HINSTANCE Module() { return &module_; }
    void Add(DialogTemplate dialogTemplate) {
        module_.dialogs.push_back(std::move(dialogTemplate));
    }
    INT_PTR Run(int id, HWND owner = nullptr, LPARAM init = 0) {
        return DialogBoxParamA(Module(), MAKEINTRESOURCEA(id), owner, &DialogHarness::Proc, init);
    }
    // Queues the keys, then check, then Escape after what check queues, and runs the dialog;
    // fails if check never ran.
    INT_PTR RunChecking(int id, const std::vector<KeyEvent>& keys,
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
    void Push(const std::vector<KeyEvent>& keys) {
        for (const KeyEvent& key : keys) {
            screen.PushEvent(Event::FromKey(key));
        }
    }

    HWND Item(int id) const { return GetDlgItem(last, id); }
    LRESULT Send(int id, UINT msg, WPARAM wParam = 0, const void* lParam = nullptr) const {
        return SendDlgItemMessageA(last, id, msg, wParam, reinterpret_cast<LPARAM>(lParam));
    }
    bool Shows(std::string_view text) const { return screen.Find(text, nullptr, nullptr); }
    // The cell where text starts; a failure, and the corner, when it is not shown.
    Spot Locate(std::string_view text) const {
        Spot spot;
        if (!screen.Find(text, &spot.x, &spot.y)) {
            ADD_FAILURE() << "not on screen: " << text << "\n" << screen.Text();
            return {};
        }
        return spot;
    }
    int CountOf(Command command) const {
        return static_cast<int>(std::count(commands.begin(), commands.end(), command));
    }
    // Any WM_COMMAND from that id.
    bool Sent(int id) const {
        return std::any_of(commands.begin(), commands.end(),
                           [id](const Command& command) { return command.id == id; });
    }

    MemoryTerminal screen;
    // Hooks. onInit runs at WM_INITDIALOG (its result is the procedure's answer); onCommand[id]
    // runs for WM_COMMAND of that id, instead of ending the dialog.
    std::function<INT_PTR(HWND)> onInit;
    std::map<int, std::function<void(HWND)>> onCommand;
    std::function<void(HWND, UINT, WPARAM, LPARAM)> onAnyMessage;

    std::vector<Command> commands;      // every WM_COMMAND, in order
    std::vector<LPARAM> initParams;     // lParam of each WM_INITDIALOG
    std::vector<HWND> initFocusParams;  // wParam of each WM_INITDIALOG
    HWND last = nullptr;                // the dialog most recently initialised

    static INT_PTR Proc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
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

  private:
    ResourceModule module_;
    inline static DialogHarness* current_ = nullptr;
};

// The window with the focus, its id (0 for none).
inline int FocusId() {
    HWND focus = GetFocus();
    return focus != nullptr ? GetDlgCtrlID(focus) : 0;
}

}  // namespace zov::test
