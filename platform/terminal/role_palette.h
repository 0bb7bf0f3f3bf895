// How each cell role looks on a terminal: colours for terminals that have them, and monochrome
// attributes for those that do not (or when the user asked for no colour). Kept free of curses so
// that the look can be checked without a terminal.
#pragma once

#include <cstdint>

#include "platform/terminal/cell_grid.h"

namespace zov {

// The eight ANSI colours, numbered as terminals (and curses) number them.
enum class AnsiColour : uint8_t { Black, Red, Green, Yellow, Blue, Magenta, Cyan, White };

// Monochrome attributes, combined as bit flags.
enum MonoAttribute : uint8_t {
    kMonoNormal = 0,
    kMonoReverse = 1,
    kMonoBold = 2,
    kMonoDim = 4,
    kMonoUnderline = 8,
};

struct RoleLook {
    AnsiColour foreground = AnsiColour::Black;
    AnsiColour background = AnsiColour::White;
    bool bright = false;  // the bright variant of the foreground colour
    uint8_t mono = 0;     // MonoAttribute flags used instead of colours
};

// The classic blue-and-grey dialog look, readable with eight colours.
RoleLook LookOfRole(CellRole role);

// The look of a mnemonic letter on a terminal that cannot underline: a colour of its own that
// stands out from the role's text and background.
RoleLook MnemonicLook(const RoleLook& look);

// Every role, for drivers that set up one colour pair per role.
inline constexpr int kCellRoleCount = static_cast<int>(CellRole::Notice) + 1;

}  // namespace zov
