#include "platform/dialog/message_box.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/dialog/desktop.h"
#include "platform/dialog/label_text.h"
#include "platform/dialog/static_text.h"
#include "platform/dialog/window_table.h"

namespace zov {
namespace {

struct ButtonSpec {
    int id;
    const char* label;
};

std::vector<ButtonSpec> ButtonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
        case MB_ABORTRETRYIGNORE:
            return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
        case MB_YESNOCANCEL:
            return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
        case MB_YESNO:
            return {{IDYES, "&Yes"}, {IDNO, "&No"}};
        case MB_RETRYCANCEL:
            return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
        default:
            return {{IDOK, "OK"}};
    }
}

bool HasCancel(UINT type) {
    for (const ButtonSpec& button : ButtonsOf(type)) {
        if (button.id == IDCANCEL) {
            return true;
        }
    }
    return false;
}

// The type of each running message box, for its dialog procedure.
std::map<HWND, UINT>& RunningTypes() {
    static std::map<HWND, UINT> types;
    return types;
}

INT_PTR MessageBoxProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            RunningTypes()[hDlg] = static_cast<UINT>(lParam);
            if (Window* sign = WindowTable::Find(GetDlgItem(hDlg, MessageBox::kSignId))) {
                static_cast<StaticText*>(sign)->SetRole(CellRole::Notice);
            }
            return TRUE;
        case WM_DESTROY:
            RunningTypes().erase(hDlg);
            return TRUE;
        case WM_COMMAND: {
            const UINT type = RunningTypes()[hDlg];
            const int id = LOWORD(wParam);
            if (id == IDCANCEL && !HasCancel(type)) {
                // Escape and the close box give IDOK to a box with only OK, and nothing to one
                // that has no cancel answer, unless input has ended: then the safe answer.
                if ((type & MB_TYPEMASK) == MB_OK) {
                    EndDialog(hDlg, IDOK);
                } else if (Desktop::Get().InputEnded()) {
                    const UINT kind = type & MB_TYPEMASK;
                    EndDialog(hDlg, kind == MB_ABORTRETRYIGNORE ? IDABORT : IDNO);
                }
                return TRUE;
            }
            for (const ButtonSpec& button : ButtonsOf(type)) {
                if (button.id == id) {
                    EndDialog(hDlg, id);
                }
            }
            return TRUE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

const char* MessageBox::Sign(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return "(X)";
        case MB_ICONQUESTION:
            return "(?)";
        case MB_ICONEXCLAMATION:
            return "/!\\";
        case MB_ICONASTERISK:
            return "(i)";
        default:
            return "";
    }
}

DialogTemplate MessageBox::Build(const char* text, const char* caption, UINT type,
                                 int screenWidth) {
    // Laid out in cells and written in dialog units (4 by 8 a cell), so the layout maps it back
    // cell for cell.
    const std::string body = text != nullptr ? text : "";
    const std::string sign = Sign(type);
    const int textColumn = sign.empty() ? 2 : 2 + static_cast<int>(sign.size()) + 2;
    const int maxTextWidth = std::clamp(screenWidth - textColumn - 6, 20, 70);
    const LabelText label = LabelText::Parse(body, false);
    const auto lines = label.Wrap(maxTextWidth).lines;
    int textWidth = 1;
    for (const std::string& line : lines) {
        textWidth = std::max(textWidth, static_cast<int>(line.size()));
    }
    const int textRows = std::max(static_cast<int>(lines.size()), 1);

    const std::vector<ButtonSpec> buttons = ButtonsOf(type);
    constexpr int kButtonWidth = 10;
    constexpr int kButtonGap = 2;
    const int buttonsWidth =
        static_cast<int>(buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;

    DialogTemplate dialog;
    dialog.caption = caption != nullptr ? caption : "Error";
    const int width = std::max({textColumn + textWidth + 2, buttonsWidth + 4,
                                static_cast<int>(dialog.caption.size()) + 10});
    const int buttonRow = 1 + textRows + 1;
    dialog.cx = width * 4;
    dialog.cy = (buttonRow + 2) * 8;
    dialog.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_VISIBLE;
    if (HasCancel(type) || (type & MB_TYPEMASK) == MB_OK) {
        dialog.style |= WS_SYSMENU;
    }
    const DWORD child = WS_CHILD | WS_VISIBLE;
    if (!sign.empty()) {
        dialog.controls.push_back({kSignId, ControlClass::Static, sign, 2 * 4, 1 * 8,
                                   static_cast<int>(sign.size()) * 4, 8, child | SS_NOPREFIX});
    }
    const int textHeight = textRows >= 2 ? textRows * 8 : 8;
    dialog.controls.push_back({IDC_STATIC, ControlClass::Static, body, textColumn * 4, 1 * 8,
                               textWidth * 4, textHeight, child | SS_NOPREFIX | SS_LEFT});
    int x = (width - buttonsWidth) / 2;
    bool first = true;
    for (const ButtonSpec& button : buttons) {
        const DWORD style = child | WS_TABSTOP | (first ? (BS_DEFPUSHBUTTON | WS_GROUP) : 0);
        dialog.controls.push_back({button.id, ControlClass::Button, button.label, x * 4,
                                   buttonRow * 8, kButtonWidth * 4, 8, style});
        x += kButtonWidth + kButtonGap;
        first = false;
    }
    return dialog;
}

int MessageBox::Run(HWND owner, const char* text, const char* caption, UINT type) {
    Desktop& desktop = Desktop::Get();
    Dialog* ownerDialog = nullptr;
    if (owner != nullptr) {
        Window* window = WindowTable::Find(owner);
        if (window == nullptr) {
            return 0;
        }
        ownerDialog =
            window->Kind() == WindowKind::Dialog ? static_cast<Dialog*>(window) : window->Parent();
    } else if ((type & MB_MODEMASK) == MB_TASKMODAL) {
        // A task-modal box without owner still holds off the window in front.
        ownerDialog = desktop.Active();
    }
    const DialogTemplate dialog = Build(text, caption, type, desktop.ScreenWidth());
    const INT_PTR result =
        desktop.RunModal(dialog, ownerDialog, MessageBoxProc, static_cast<LPARAM>(type));
    return static_cast<int>(result);
}

}  // namespace zov
