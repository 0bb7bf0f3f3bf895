// The look of each cell role: every role readable, and the roles a user must tell apart
// distinct, in colour and in monochrome.
#include "platform/terminal/role_palette.h"

#include <gtest/gtest.h>

namespace zov {
namespace {

// Where a terminal cannot underline, a mnemonic letter is a colour of its own.
TEST(RolePalette, EveryRoleIsReadableAndLeavesUnderlineAndAColourToMnemonics) {
    for (int i = 0; i < kCellRoleCount; ++i) {
        const RoleLook look = LookOfRole(static_cast<CellRole>(i));
        // Bright black on black reads as dark grey, still too faint: never allowed.
        EXPECT_NE(look.foreground, look.background) << "role " << i;
        EXPECT_EQ(look.mono & kMonoUnderline, 0) << "role " << i;
        const RoleLook mnemonic = MnemonicLook(look);
        EXPECT_EQ(mnemonic.background, look.background) << "role " << i;
        EXPECT_NE(mnemonic.foreground, look.foreground) << "role " << i;
        EXPECT_NE(mnemonic.foreground, mnemonic.background) << "role " << i;
    }
}

struct DistinctPair {
    CellRole a;
    CellRole b;
    // Without colours a field's face shows through the frame the dialog manager draws around
    // it, and a shadow through the characters beneath it: those pairs may look alike there.
    bool also_in_monochrome;
    const char* why;
};

TEST(RolePalette, RolesAUserMustTellApartLookDifferent) {
    const DistinctPair pairs[] = {
        {CellRole::Desktop, CellRole::Window, false, "a window vanishes into the desktop"},
        {CellRole::Title, CellRole::Window, true, "the title bar cannot be seen"},
        {CellRole::ButtonDefault, CellRole::ButtonFocused, true, "focus and default look alike"},
        {CellRole::Field, CellRole::SelectionFocused, true, "the selected row cannot be seen"},
        {CellRole::Window, CellRole::Disabled, true, "disabled controls look enabled"},
        {CellRole::Window, CellRole::Shadow, false, "windows cast no visible shadow"},
        {CellRole::Field, CellRole::FieldFocused, true, "a focused edit field looks like the rest"},
    };
    for (const DistinctPair& pair : pairs) {
        const RoleLook a = LookOfRole(pair.a);
        const RoleLook b = LookOfRole(pair.b);
        EXPECT_TRUE(a.foreground != b.foreground || a.background != b.background ||
                    a.bright != b.bright)
            << pair.why;
        if (pair.also_in_monochrome) {
            EXPECT_NE(a.mono, b.mono) << pair.why << " in monochrome";
        }
    }
}

}  // namespace
}  // namespace zov
