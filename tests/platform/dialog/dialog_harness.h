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

namespace zov::test {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kPopup = WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_VISIBLE;

ControlTemplate PushButtonAt(int id, const std::string& text, int x, int y, DWORD extra = 0);
ControlTemplate RadioAt(int id, const std::string& text, int x, int y, int cx, DWORD extra = 0);
ControlTemplate StaticAt(const std::string& text, int x, int y, int cx, int cy, DWORD extra = 0);
ControlTemplate GroupBoxAt(const std::string& text, int x, int y, int cx, int cy);
ControlTemplate ListAt(int id, int x, int y, int cx, int cy, DWORD extra = 0);
ControlTemplate ComboAt(int id, int x, int y, int cx, int cy, DWORD extra = 0);
ControlTemplate EditAt(int id, int x, int y, int cx, int cy, DWORD extra = 0);
DialogTemplate DialogOf(int id, const std::string& caption, int cx, int cy,
                        std::vector<ControlTemplate> controls, DWORD extra = 0);

struct Command {
    int id;
    int code;
    bool operator==(const Command& other) const = default;
};

class DialogHarness {
  public:
    explicit DialogHarness(int width = 80, int height = 25);
    ~DialogHarness();
    DialogHarness(const DialogHarness&) = delete;
    DialogHarness& operator=(const DialogHarness&) = delete;

    HINSTANCE Module() { return &module_; }
    void Add(DialogTemplate dialogTemplate) {
        module_.dialogs.push_back(std::move(dialogTemplate));
    }
    INT_PTR Run(int id, HWND owner = nullptr, LPARAM init = 0);

    MemoryTerminal screen;
    // Hooks. onInit runs at WM_INITDIALOG (its result is the procedure's answer); onCommand[id]
    // runs for WM_COMMAND of that id, instead of ending the dialog.
    std::function<INT_PTR(HWND)> onInit;
    std::map<int, std::function<void(HWND)>> onCommand;
    std::function<void(HWND, UINT, WPARAM, LPARAM)> onAnyMessage;

    std::vector<Command> commands;      // every WM_COMMAND, in order
    std::vector<UINT> messages;         // every message the procedure got
    std::vector<LPARAM> initParams;     // lParam of each WM_INITDIALOG
    std::vector<HWND> initFocusParams;  // wParam of each WM_INITDIALOG
    HWND last = nullptr;                // the dialog most recently initialised

    static INT_PTR Proc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

  private:
    ResourceModule module_;
    static DialogHarness* current_;
};

// The text of a control, through WM_GETTEXT.
std::string TextOf(HWND window);
// The window with the focus, its id (0 for none).
int FocusId();

}  // namespace zov::test
