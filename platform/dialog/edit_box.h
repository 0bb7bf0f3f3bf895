// A single-line edit: read-only or not, with a text limit for what the user types (text set by
// the program is not limited, as on Windows) and a selection that shows while it has the focus.
#pragma once

#include "platform/dialog/resource.h"
#include "platform/dialog/window.h"

namespace zov {

class EditBox : public Window {
  public:
    // Windows' initial limit of an edit control.
    static constexpr int kDefaultLimit = 30000;

    explicit EditBox(const ControlTemplate& control);

    bool ReadOnly() const { return (Style() & ES_READONLY) != 0; }
    int Limit() const { return limit_; }
    int SelectionStart() const { return selStart_; }
    int SelectionEnd() const { return selEnd_; }
    void SetSelection(int start, int end);

    LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool CanTakeFocus() const override { return Enabled() && Visible(); }
    bool TakesLetters() const override { return true; }
    void Draw(Painter& painter, const ControlLook& look) const override;
    bool Key(const KeyEvent& key) override;
    void Mouse(const MouseEvent& mouse, int x, int y) override;
    CursorPosition Cursor(const ControlLook& look) const override;
    void FocusChanged(bool focused, bool viaKeyboard) override;

  protected:
    void TextChanged() override;

  private:
    int Length() const { return static_cast<int>(Text().size()); }
    int VisibleWidth() const { return std::max(Rect().width - 2, 1); }
    void MoveCaret(int to, bool extend);
    void KeepCaretVisible();
    void ReplaceSelection(const std::string& with);

    int limit_ = kDefaultLimit;
    int selStart_ = 0;
    int selEnd_ = 0;
    int caret_ = 0;
    int anchor_ = 0;
    int scroll_ = 0;
};

}  // namespace zov
