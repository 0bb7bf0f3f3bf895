// A radio button (also serves the check box styles). An automatic one checks itself and clears
// the other automatic radio buttons of its group before it notifies its dialog. As on Windows,
// checking a radio button gives it WS_TABSTOP and clearing it takes WS_TABSTOP away, which is
// what makes Tab enter a group on its checked button.
#pragma once

#include "platform/dialog/clickable_control.h"
#include "platform/dialog/label_text.h"
#include "platform/dialog/resource.h"

namespace zov {

class RadioButton : public ClickableControl {
  public:
    explicit RadioButton(const ControlTemplate& control);

    bool IsRadio() const;
    bool IsAutomaticRadio() const { return (Style() & BS_TYPEMASK) == BS_AUTORADIOBUTTON; }
    UINT Check() const { return check_; }
    void SetCheck(UINT check);
    void Click() override;
    LabelText Label() const { return LabelText::Parse(Text()); }
    // The cells it needs: mark, blank and label.
    static int FaceWidth(const LabelText& label) { return label.Width() + 4; }

    LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Draw(Painter& painter, const ControlLook& look) const override;
    CursorPosition Cursor(const ControlLook& look) const override;
    char Mnemonic() const override { return Label().mnemonic; }

  private:
    UINT check_ = BST_UNCHECKED;
};

}  // namespace zov
