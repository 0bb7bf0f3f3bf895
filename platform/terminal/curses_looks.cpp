#include "platform/terminal/curses_looks.h"

#include <cstdlib>

#include "platform/terminal/terminfo_probe.h"

namespace zov {

namespace {

bool ColourWanted() {
    const char* no_color = std::getenv("NO_COLOR");
    return no_color == nullptr || no_color[0] == '\0';
}

attr_t MonochromeAttributes(uint8_t mono) {
    attr_t attribute = A_NORMAL;
    attribute |= (mono & kMonoReverse) != 0 ? A_REVERSE : A_NORMAL;
    attribute |= (mono & kMonoBold) != 0 ? A_BOLD : A_NORMAL;
    attribute |= (mono & kMonoDim) != 0 ? A_DIM : A_NORMAL;
    attribute |= (mono & kMonoUnderline) != 0 ? A_UNDERLINE : A_NORMAL;
    return attribute;
}

}  // namespace

CursesLooks CursesLooks::SetUp() {
    CursesLooks looks;
    // Two pairs per role: its own, and its mnemonic's where the terminal cannot underline.
    const bool colour = ColourWanted() && has_colors() && start_color() == OK && COLORS >= 8 &&
                        COLOR_PAIRS > 2 * kCellRoleCount;
    // ncv: attributes that do not combine with colours; underline is its bit 1 (the Linux
    // console's case).
    const int no_colour_video = TerminfoNumber("ncv");
    const bool underline = !TerminfoString("smul").empty() &&
                           !(colour && no_colour_video > 0 && (no_colour_video & 2) != 0);
    for (int i = 0; i < kCellRoleCount; ++i) {
        const auto role = static_cast<std::size_t>(i);
        const RoleLook look = LookOfRole(static_cast<CellRole>(i));
        if (colour) {
            const RoleLook mnemonic = MnemonicLook(look);
            const auto pair = static_cast<short>(i + 1);
            const auto mnemonic_pair = static_cast<short>(kCellRoleCount + i + 1);
            attr_t attribute = A_NORMAL;
            attr_t mnemonic_attribute = A_NORMAL;
            const auto foreground = [&](const RoleLook& of, attr_t& bold) {
                if (of.bright && COLORS >= 16) {
                    return static_cast<short>(static_cast<int>(of.foreground) + 8);
                }
                bold |= of.bright ? A_BOLD : A_NORMAL;
                return static_cast<short>(of.foreground);
            };
            init_pair(pair, foreground(look, attribute), static_cast<short>(look.background));
            init_pair(mnemonic_pair, foreground(mnemonic, mnemonic_attribute),
                      static_cast<short>(mnemonic.background));
            looks.attributes[role] = attribute;
            looks.pairs[role] = pair;
            looks.mnemonic_attributes[role] =
                underline ? attribute | A_UNDERLINE : mnemonic_attribute;
            looks.mnemonic_pairs[role] = underline ? pair : mnemonic_pair;
        } else {
            const attr_t attribute = MonochromeAttributes(look.mono);
            looks.attributes[role] = attribute;
            looks.pairs[role] = 0;
            // Without underline, bold marks the letter, or its absence where the role is bold.
            looks.mnemonic_attributes[role] =
                underline ? attribute | A_UNDERLINE : attribute ^ A_BOLD;
            looks.mnemonic_pairs[role] = 0;
        }
    }
    return looks;
}

}  // namespace zov
