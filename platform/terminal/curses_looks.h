// The curses attributes and colour pairs of each cell role on the current terminal, and how a
// mnemonic letter is marked there: underlined where the terminal can underline (with colours, if
// they are on), otherwise in a colour of its own (or bold, without colours), so that Alt keys
// can be found on every terminal.
#pragma once

#include <curses.h>

#include <array>

#include "platform/terminal/role_palette.h"

namespace zov {

struct CursesLooks {
    std::array<attr_t, kCellRoleCount> attributes{};
    std::array<short, kCellRoleCount> pairs{};
    // How a mnemonic cell differs from the other cells of its role.
    std::array<attr_t, kCellRoleCount> mnemonic_attributes{};
    std::array<short, kCellRoleCount> mnemonic_pairs{};

    // Starts colours unless the terminal has none or NO_COLOR is set, and sets up every role.
    static CursesLooks SetUp();
};

}  // namespace zov
