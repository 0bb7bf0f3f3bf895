// A static text control: left, centred or right aligned, on one line or word-wrapped over
// several, with an '&' mnemonic unless SS_NOPREFIX.
#pragma once

#include "platform/dialog/label_text.h"
#include "platform/dialog/resource.h"
#include "platform/dialog/window.h"
#include "platform/terminal/cell_grid.h"

namespace zov {

class StaticText : public Window {
  public:
    explicit StaticText(const ControlTemplate& control);

    // Set by the layout: wrapped over several lines, or one line with narrow blanks.
    void SetMultiLine(bool multiLine) { multiLine_ = multiLine; }
    bool MultiLine() const { return multiLine_; }
    void SetNarrowBlanks(bool narrow) { narrowBlanks_ = narrow; }
    // Message boxes draw their icon sign as a static text with its own role.
    void SetRole(CellRole role) { role_ = role; }

    // The text as it is drawn on one line.
    LabelText Label() const;
    void Draw(Painter& painter, const ControlLook& look) const override;
    char Mnemonic() const override { return Label().mnemonic; }

  private:
    bool multiLine_ = false;
    bool narrowBlanks_ = false;
    CellRole role_ = CellRole::Window;
};

}  // namespace zov
