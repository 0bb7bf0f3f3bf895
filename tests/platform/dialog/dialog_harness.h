// Runs dialogs built from templates in the tests on an in-memory screen, with a dialog procedure
// that records what it is sent and ends the dialog on IDOK and IDCANCEL, as a framework does.
#pragma once

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

ControlTemplate PushButtonAt(int id, const std::string& text, int x, int y, DWORD extra = 0);
ControlTemplate RadioAt(int id, const std::string& text, int x, int y, int cx, DWORD extra = 0);
ControlTemplate StaticAt(const std::string& text, int x, int y, int cx, int cy, DWORD extra = 0);
ControlTemplate GroupBoxAt(const std::string& text, int x, int y, int cx, int cy);
ControlTemplate ListAt(int id, int x, int y, int cx, int cy, DWORD extra = 0);
ControlTemplate ComboAt(int id, int x, int y, int cx, int cy, DWORD extra = 0);
DialogTemplate DialogOf(int id, const std::string& caption, int cx, int cy,
                        std::vector<ControlTemplate> controls, DWORD extra = 0);

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
    explicit DialogHarness(int width = 80, int height = 25);
    explicit DialogHarness(DialogTemplate dialogTemplate, int width = 80, int height = 25)
        : DialogHarness(width, height) {
        Add(std::move(dialogTemplate));
    }
    ~DialogHarness();
    DialogHarness(const DialogHarness&) = delete;
    DialogHarness& operator=(const DialogHarness&) = delete;

    HINSTANCE Module() { return &module_; }
    void Add(DialogTemplate dialogTemplate) {
        module_.dialogs.push_back(std::move(dialogTemplate));
    }
    INT_PTR Run(int id, HWND owner = nullptr, LPARAM init = 0);
    // Queues the keys, then check, then Escape after what check queues, and runs the dialog;
    // fails if check never ran.
    INT_PTR RunChecking(int id, const std::vector<KeyEvent>& keys,
                        const std::function<void()>& check);
    void Push(const std::vector<KeyEvent>& keys);

    HWND Item(int id) const { return GetDlgItem(last, id); }
    LRESULT Send(int id, UINT msg, WPARAM wParam = 0, const void* lParam = nullptr) const;
    bool Shows(std::string_view text) const { return screen.Find(text, nullptr, nullptr); }
    Spot Locate(std::string_view text) const;  // a failure, and the corner, when not shown
    int CountOf(Command command) const;
    bool Sent(int id) const;  // any WM_COMMAND from that id

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

    static INT_PTR Proc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

  private:
    ResourceModule module_;
    static DialogHarness* current_;
};

// The window with the focus, its id (0 for none).
int FocusId();

}  // namespace zov::test
