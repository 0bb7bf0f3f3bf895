// The base of every window the dialog manager makes: dialogs and their controls. An HWND points
// to one of these (HWND__ is its base), and is only ever used after WindowTable found it live.
#pragma once

#include <string>

#include "platform/dialog/cell_rect.h"
#include "platform/terminal/event.h"
#include "platform/terminal/terminal.h"
#include "platform/win32.h"

struct HWND__ {
    HWND__() = default;
    HWND__(const HWND__&) = delete;
    HWND__& operator=(const HWND__&) = delete;
    virtual ~HWND__() = default;
};

namespace zov {

class Dialog;
class Painter;

enum class WindowKind {
    Dialog,
    Static,
    GroupBox,
    PushButton,
    RadioButton,
    ListBox,
    ComboBox,
    Edit
};

// What a control needs to know to draw itself.
struct ControlLook {
    int originX = 0;  // screen position of the dialog's client area
    int originY = 0;
    bool focused = false;
    bool enterTarget = false;  // the push button that Enter would press
    bool threeD = false;
};

class Window : public HWND__ {
  public:
    Window(WindowKind kind, int id, DWORD style, DWORD exStyle, std::string text);
    ~Window() override;

    HWND Handle() { return this; }
    WindowKind Kind() const { return kind_; }
    int Id() const { return id_; }
    DWORD Style() const { return style_; }
    void SetStyle(DWORD style) { style_ = style; }
    DWORD ExStyle() const { return exStyle_; }
    const std::string& Text() const { return text_; }
    bool Enabled() const { return (style_ & WS_DISABLED) == 0; }
    void SetEnabled(bool enabled);
    bool Visible() const { return (style_ & WS_VISIBLE) != 0; }
    Dialog* Parent() const { return parent_; }
    void SetParent(Dialog* parent) { parent_ = parent; }

    // For a control: its cells relative to the dialog's client area. For a dialog: the whole
    // window on the screen.
    const CellRect& Rect() const { return rect_; }
    void SetRect(const CellRect& rect) { rect_ = rect; }

    // The window procedure. The base answers the text messages.
    virtual LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam);

    // What the dialog manager asks of a control.
    virtual bool CanTakeFocus() const { return false; }
    virtual bool TakesLetters() const { return false; }
    virtual void Draw(Painter& /*painter*/, const ControlLook& /*look*/) const {}
    virtual bool Key(const KeyEvent& /*key*/) { return false; }
    // Mouse events at (x, y) relative to the control's rectangle.
    virtual void Mouse(const MouseEvent& /*mouse*/, int /*x*/, int /*y*/) {}
    virtual CursorPosition Cursor(const ControlLook& look) const;
    // Focus arrives (viaKeyboard: by Tab, arrows or a mnemonic) or leaves.
    virtual void FocusChanged(bool /*focused*/, bool /*viaKeyboard*/) {}
    // The upper-cased '&' character of the text, 0 for none.
    virtual char Mnemonic() const { return 0; }

  protected:
    virtual void TextChanged() {}
    void SetTextRaw(std::string text) { text_ = std::move(text); }
    // Copies text into a caller's buffer of size characters as WM_GETTEXT does.
    static LRESULT CopyOut(const std::string& text, WPARAM size, LPARAM buffer);

  private:
    WindowKind kind_;
    int id_;
    DWORD style_;
    DWORD exStyle_;
    std::string text_;
    Dialog* parent_ = nullptr;
    CellRect rect_;
};

}  // namespace zov
