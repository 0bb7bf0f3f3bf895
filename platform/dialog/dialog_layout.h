// Turns a dialog template in dialog units into terminal cells. See dialog_layout.cpp for the rule.
#pragma once

#include <vector>

#include "platform/dialog/cell_rect.h"
#include "platform/dialog/resource.h"

namespace zov {

struct ControlPlacement {
    CellRect rect;              // relative to the client area
    bool multiLine = false;     // a static text wrapped over several rows
    bool narrowBlanks = false;  // a one-line text set with narrow blanks
};

struct DialogPlacement {
    int clientWidth = 0;
    int clientHeight = 0;
    std::vector<ControlPlacement> controls;  // in template order
};

class DialogLayout {
  public:
    static DialogPlacement Compute(const DialogTemplate& dialogTemplate);

    // The cells a control's text and decoration need on its row (its face width).
    static int NeededWidth(const ControlTemplate& control, int baseWidth, bool* narrowBlanks);
    static bool IsMultiLineStatic(const ControlTemplate& control);
};

}  // namespace zov
