// The roles a control's face takes in its states, in one place so that every control dims and
// highlights alike.
#pragma once

#include "platform/dialog/window.h"
#include "platform/terminal/cell_grid.h"

namespace zov {

inline CellRole FieldRole(const Window& control, const ControlLook& look) {
    if (!control.Enabled()) {
        return CellRole::Disabled;
    }
    return look.focused ? CellRole::FieldFocused : CellRole::Field;
}

inline CellRole SelectionRole(const ControlLook& look) {
    return look.focused ? CellRole::SelectionFocused : CellRole::Selection;
}

inline CellRole TextRole(const Window& control) {
    return control.Enabled() ? CellRole::Window : CellRole::Disabled;
}

}  // namespace zov
