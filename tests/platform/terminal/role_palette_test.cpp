// The look of each cell role: every role readable, and the roles a user must tell apart
// distinct, in colour and in monochrome.
#include "platform/terminal/role_palette.h"

#include <gtest/gtest.h>

namespace zov {
namespace {

CellRole RoleAt(int index) {
    return static_cast<CellRole>(index);
}

bool SameColours(const RoleLook& a, const RoleLook& b) {
    return a.foreground == b.foreground && a.background == b.background && a.bright == b.bright;
}

TEST(RolePalette, EveryRoleHasTextThatDiffersFromItsBackground) {
    for (int i = 0; i < kCellRoleCount; ++i) {
        const RoleLook look = LookOfRole(RoleAt(i));
        // Bright black on black reads as dark grey, still too faint: never allowed.
        EXPECT_NE(look.foreground, look.background) << "role " << i;
    }
}

TEST(RolePalette, RoleCountCoversTheLastRole) {
    EXPECT_EQ(kCellRoleCount - 1, static_cast<int>(CellRole::Notice));
}

struct DistinctPair {
    CellRole a;
    CellRole b;
    const char* why;
};

const DistinctPair kMustDiffer[] = {
    {CellRole::Desktop, CellRole::Window, "a window vanishes into the desktop"},
    {CellRole::Title, CellRole::Window, "the title bar cannot be seen"},
    {CellRole::Title, CellRole::TitleInactive, "the active window cannot be told"},
    {CellRole::Button, CellRole::ButtonFocused, "the focused button cannot be told"},
    {CellRole::Button, CellRole::ButtonDefault, "the default button cannot be told"},
    {CellRole::ButtonDefault, CellRole::ButtonFocused, "focus and default look the same"},
    {CellRole::Field, CellRole::Window, "a list or edit has no visible face"},
    {CellRole::Field, CellRole::SelectionFocused, "the selected row cannot be seen"},
    {CellRole::Selection, CellRole::SelectionFocused, "a focused list looks unfocused"},
    {CellRole::Window, CellRole::Disabled, "disabled controls look enabled"},
    {CellRole::Button, CellRole::Disabled, "a disabled button looks enabled"},
    {CellRole::Window, CellRole::Shadow, "windows cast no visible shadow"},
};

TEST(RolePalette, RolesAUserMustTellApartHaveDifferentColours) {
    for (const DistinctPair& pair : kMustDiffer) {
        EXPECT_FALSE(SameColours(LookOfRole(pair.a), LookOfRole(pair.b))) << pair.why;
    }
}

// Without colours only these pairs can be kept apart: the face of a field shows through the
// frame the dialog manager draws around it, and a shadow through the characters beneath it.
const DistinctPair kMustDifferInMonochrome[] = {
    {CellRole::Title, CellRole::Window, "the title bar cannot be seen"},
    {CellRole::Title, CellRole::TitleInactive, "the active window cannot be told"},
    {CellRole::Button, CellRole::ButtonFocused, "the focused button cannot be told"},
    {CellRole::Button, CellRole::ButtonDefault, "the default button cannot be told"},
    {CellRole::ButtonDefault, CellRole::ButtonFocused, "focus and default look the same"},
    {CellRole::Field, CellRole::SelectionFocused, "the selected row cannot be seen"},
    {CellRole::Field, CellRole::Selection, "the selected row of a list cannot be seen"},
    {CellRole::Selection, CellRole::SelectionFocused, "a focused list looks unfocused"},
    {CellRole::Window, CellRole::Disabled, "disabled controls look enabled"},
};

TEST(RolePalette, RolesAUserMustTellApartDifferInMonochrome) {
    for (const DistinctPair& pair : kMustDifferInMonochrome) {
        EXPECT_NE(LookOfRole(pair.a).mono, LookOfRole(pair.b).mono) << pair.why;
    }
}

TEST(RolePalette, MonochromeLeavesUnderlineToMnemonics) {
    for (int i = 0; i < kCellRoleCount; ++i) {
        EXPECT_EQ(LookOfRole(RoleAt(i)).mono & kMonoUnderline, 0) << "role " << i;
    }
}

TEST(RolePalette, FocusIsShownByReverseVideoInMonochrome) {
    EXPECT_NE(LookOfRole(CellRole::ButtonFocused).mono & kMonoReverse, 0);
    EXPECT_NE(LookOfRole(CellRole::SelectionFocused).mono & kMonoReverse, 0);
}

}  // namespace
}  // namespace zov
