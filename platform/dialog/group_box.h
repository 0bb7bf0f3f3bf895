// A group box: a frame with its caption in the top line. Its mnemonic leads to the next control
// that takes the focus.
#pragma once

#include "platform/dialog/label_text.h"
#include "platform/dialog/resource.h"
#include "platform/dialog/window.h"

namespace zov {

class GroupBox : public Window {
  public:
    explicit GroupBox(const ControlTemplate& control);

    LabelText Label() const { return LabelText::Parse(Text()); }
    void Draw(Painter& painter, const ControlLook& look) const override;
    char Mnemonic() const override { return Label().mnemonic; }
};

}  // namespace zov
