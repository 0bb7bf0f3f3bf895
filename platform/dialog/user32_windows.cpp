// The user32 calls about any window: messages, state, text, relations, focus, and the painting
// calls, which are harmless stand-ins since a terminal shows no icon.
#include <algorithm>

#include "platform/dialog/desktop.h"
#include "platform/dialog/dialog.h"
#include "platform/dialog/window_table.h"
#include "platform/win32.h"

// The device context BeginPaint hands out; nothing is drawn through it.
struct HDC__ {};

using zov::Dialog;
using zov::Window;
using zov::WindowKind;
using zov::WindowTable;

namespace {

HDC__ g_paintContext;
// Windows' status for a window data index it does not know.
constexpr DWORD kErrorInvalidIndex = 1413;

void NotifyEnable(Window& window, bool enabled) {
    window.SetEnabled(enabled);
    window.Message(WM_ENABLE, enabled ? TRUE : FALSE, 0);
}

}  // namespace

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* window = WindowTable::Find(hWnd);
    return window != nullptr ? window->Message(Msg, wParam, lParam) : 0;
}

BOOL IsWindow(HWND hWnd) {
    return WindowTable::Contains(hWnd) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
    Window* window = WindowTable::Find(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    const BOOL wasDisabled = window->Enabled() ? FALSE : TRUE;
    const bool enable = bEnable != FALSE;
    if (window->Enabled() != enable) {
        NotifyEnable(*window, enable);
        // A control that loses its ability to hold the focus hands it on to the next tab stop.
        if (!enable && window->Parent() != nullptr) {
            window->Parent()->FocusLost(window);
        }
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd) {
    Window* window = WindowTable::Find(hWnd);
    return window != nullptr && window->Enabled() ? TRUE : FALSE;
}

BOOL IsIconic(HWND hWnd) {
    (void)WindowTable::Find(hWnd);
    return FALSE;  // a terminal window is never minimised
}

BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    Window* window = WindowTable::Find(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    return window->Message(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) == TRUE ? TRUE
                                                                                      : FALSE;
}

int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    Window* window = WindowTable::Find(hWnd);
    if (window == nullptr || lpString == nullptr || nMaxCount <= 0) {
        if (lpString != nullptr && nMaxCount > 0) {
            lpString[0] = '\0';
        }
        return 0;
    }
    return static_cast<int>(window->Message(WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                            reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthA(HWND hWnd) {
    Window* window = WindowTable::Find(hWnd);
    return window != nullptr ? static_cast<int>(window->Message(WM_GETTEXTLENGTH, 0, 0)) : 0;
}

LONG GetWindowLongA(HWND hWnd, int nIndex) {
    Window* window = WindowTable::Find(hWnd);
    if (window == nullptr) {
        return 0;
    }
    switch (nIndex) {
        case GWL_STYLE:
            return static_cast<LONG>(window->Style());
        case GWL_EXSTYLE:
            return static_cast<LONG>(window->ExStyle());
        case GWL_ID:
            return window->Kind() == WindowKind::Dialog ? 0 : window->Id();
        default:
            SetLastError(kErrorInvalidIndex);
            return 0;
    }
}

HWND GetActiveWindow(void) {
    Dialog* active = zov::Desktop::Get().Active();
    return active != nullptr ? active->Handle() : nullptr;
}

HWND GetParent(HWND hWnd) {
    Window* window = WindowTable::Find(hWnd);
    if (window == nullptr) {
        return nullptr;
    }
    // A control's parent is its dialog; a dialog, a popup, answers with its owner.
    if (window->Kind() == WindowKind::Dialog) {
        Dialog* owner = static_cast<Dialog*>(window)->Owner();
        return owner != nullptr ? owner->Handle() : nullptr;
    }
    return window->Parent() != nullptr ? window->Parent()->Handle() : nullptr;
}

HWND GetWindow(HWND hWnd, UINT uCmd) {
    Window* window = WindowTable::Find(hWnd);
    if (window == nullptr) {
        return nullptr;
    }
    if (uCmd != GW_OWNER) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (window->Kind() != WindowKind::Dialog) {
        return nullptr;  // child windows have no owner
    }
    Dialog* owner = static_cast<Dialog*>(window)->Owner();
    return owner != nullptr ? owner->Handle() : nullptr;
}

HWND SetFocus(HWND hWnd) {
    HWND previous = GetFocus();
    if (hWnd == nullptr) {
        if (Dialog* active = zov::Desktop::Get().Active()) {
            active->SetFocusTo(nullptr, false);
        }
        return previous;
    }
    Window* window = WindowTable::Find(hWnd);
    if (window == nullptr) {
        return nullptr;
    }
    if (window->Kind() == WindowKind::Dialog) {
        return previous;  // the dialog keeps the focus on its control
    }
    if (!window->Parent()->SetFocusTo(window, false)) {
        return nullptr;  // disabled, hidden or static: it cannot take the focus
    }
    return previous;
}

HWND GetFocus(void) {
    Window* focus = zov::Desktop::Get().Focus();
    if (focus != nullptr) {
        return focus->Handle();
    }
    // While a dialog initialises (not shown yet), its own focus counts.
    const auto& stack = zov::Desktop::Get().Stack();
    if (!stack.empty() && stack.back()->Focus() != nullptr) {
        return stack.back()->Focus()->Handle();
    }
    return nullptr;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    Window* window = WindowTable::Find(hWnd);
    if (window == nullptr || lpRect == nullptr) {
        return FALSE;
    }
    // In cells. A dialog's client area is inside its frame and title line.
    const zov::CellRect& r = window->Rect();
    const bool dialog = window->Kind() == WindowKind::Dialog;
    lpRect->left = 0;
    lpRect->top = 0;
    lpRect->right = std::max(r.width - (dialog ? 2 : 0), 0);
    lpRect->bottom = std::max(r.height - (dialog ? 2 : 0), 0);
    return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    Window* window = WindowTable::Find(hWnd);
    if (window == nullptr || lpRect == nullptr) {
        return FALSE;
    }
    zov::CellRect r = window->Rect();
    if (window->Kind() != WindowKind::Dialog && window->Parent() != nullptr) {
        r = r.Offset(window->Parent()->ClientOriginX(), window->Parent()->ClientOriginY());
    }
    lpRect->left = r.x;
    lpRect->top = r.y;
    lpRect->right = r.Right();
    lpRect->bottom = r.Bottom();
    return TRUE;
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    if (WindowTable::Find(hWnd) == nullptr || lpPaint == nullptr) {
        return nullptr;
    }
    *lpPaint = PAINTSTRUCT{};
    lpPaint->hdc = &g_paintContext;
    GetClientRect(hWnd, &lpPaint->rcPaint);
    return lpPaint->hdc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    return WindowTable::Contains(hWnd) && lpPaint != nullptr ? TRUE : FALSE;
}

BOOL DrawIcon(HDC hDC, int /*X*/, int /*Y*/, HICON hIcon) {
    if (hDC != &g_paintContext || hIcon == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;  // a terminal shows no icon
}

HICON LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    int id = 0;
    if (hInstance == nullptr || !IS_INTRESOURCE(lpIconName)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    id = static_cast<int>(reinterpret_cast<ULONG_PTR>(lpIconName));
    const zov::IconImage* icon = static_cast<const zov::ResourceModule*>(hInstance)->FindIcon(id);
    if (icon == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return const_cast<zov::IconImage*>(icon);
}

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
        case SM_CXSCREEN:
            return zov::Desktop::Get().ScreenWidth();
        case SM_CYSCREEN:
            return zov::Desktop::Get().ScreenHeight();
        case SM_CXICON:
        case SM_CYICON:
            return zov::IconImage::kSize;
        default:
            return 0;
    }
}
