// A push button, default or not. It fires (WM_COMMAND BN_CLICKED to its dialog) on Space, on
// BM_CLICK, and when the mouse button is released over it after a press on it.
#pragma once

#include "platform/dialog/clickable_control.h"
#include "platform/dialog/label_text.h"
#include "platform/dialog/resource.h"

namespace zov {

class PushButton : public ClickableControl {
  public:
    explicit PushButton(const ControlTemplate& control);

    bool IsDefault() const { return (Style() & BS_TYPEMASK) == BS_DEFPUSHBUTTON; }
    LabelText Label() const { return LabelText::Parse(Text()); }
    // The cells the face needs: the label between "[ " and " ]".
    static int FaceWidth(const LabelText& label) { return label.Width() + 4; }
    void Click() override;

    LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Draw(Painter& painter, const ControlLook& look) const override;
    CursorPosition Cursor(const ControlLook& look) const override;
    char Mnemonic() const override { return Label().mnemonic; }

  private:
    int LabelColumn() const;
};

}  // namespace zov
