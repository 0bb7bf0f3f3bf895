// Focus by keyboard: Tab order over tab stops, radio groups entered on their checked button,
// arrows within a group selecting automatic radio buttons, and disabled controls skipped.
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace zov::test {
namespace {

constexpr int kDialog = 130;
constexpr int kCombo = 1008;
constexpr int kPorts4 = 1001;
constexpr int kPorts8 = 1002;
constexpr int kPorts16 = 1003;
constexpr int kIsa = 1011;
constexpr int kPci = 1012;

// The settings dialog's geometry: a combo, two radio groups, two buttons, labels after them.
DialogTemplate SettingsLike() {
    return DialogOf(
        kDialog, "Settings", 256, 135,
        {GroupBoxAt("Card Settings", 17, 12, 110, 92), ComboAt(kCombo, 69, 30, 48, 69),
         GroupBoxAt("&Port Count", 146, 12, 87, 52),
         RadioAt(kPorts4, "4 Ports", 170, 22, 38, WS_GROUP | WS_TABSTOP),
         RadioAt(kPorts8, "8 Ports", 170, 37, 36), RadioAt(kPorts16, "16 Ports", 170, 52, 39),
         GroupBoxAt("BusType", 146, 68, 87, 36),
         RadioAt(kIsa, "ISA", 170, 78, 26, WS_GROUP | WS_TABSTOP),
         RadioAt(kPci, "PCI", 170, 92, 30, WS_TABSTOP),
         PushButtonAt(IDOK, "&Done", 40, 114, BS_DEFPUSHBUTTON | WS_GROUP),
         PushButtonAt(IDCANCEL, "&Cancel", 159, 114),
         StaticAt("Base Address", 22, 32, 45, 10, WS_GROUP)});
}

INT_PTR CheckDefaults(HWND dialog) {
    CheckRadioButton(dialog, kPorts4, kPorts16, kPorts8);
    CheckRadioButton(dialog, kIsa, kPci, kIsa);
    return TRUE;
}

struct TabCase {
    const char* name;
    std::vector<Key> keys;
    int focus;
};

class TabOrder : public ::testing::TestWithParam<TabCase> {};

TEST_P(TabOrder, KeysLeaveTheFocusOn) {
    DialogHarness h;
    h.Add(SettingsLike());
    h.onInit = CheckDefaults;
    for (Key key : GetParam().keys) {
        h.screen.PushKey(key);
    }
    int focus = -1;
    h.screen.PushCallback([&] { focus = FocusId(); });
    h.screen.PushKey(Key::Escape);
    EXPECT_EQ(h.Run(kDialog), IDCANCEL);
    EXPECT_EQ(focus, GetParam().focus);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsDialog, TabOrder,
    ::testing::Values(
        TabCase{"StartsOnFirstTabStop", {}, kCombo},
        TabCase{"EntersRadioGroupOnCheckedButton", {Key::Tab}, kPorts8},
        TabCase{"SecondGroupOnItsCheckedButton", {Key::Tab, Key::Tab}, kIsa},
        TabCase{"DefaultButtonAfterGroups", {Key::Tab, Key::Tab, Key::Tab}, IDOK},
        TabCase{"WrapsToTheFirst", {Key::Tab, Key::Tab, Key::Tab, Key::Tab, Key::Tab}, kCombo},
        TabCase{"BackTabWrapsToTheLast", {Key::BackTab}, IDCANCEL},
        TabCase{"ArrowsStayInTheGroup", {Key::Tab, Key::Down, Key::Down}, kPorts4},
        TabCase{"UpMovesBackInTheGroup", {Key::Tab, Key::Up}, kPorts4}),
    [](const ::testing::TestParamInfo<TabCase>& info) { return std::string(info.param.name); });

TEST(GroupsAndArrows, ArrowSelectsTheAutomaticRadioButtonAndNotifies) {
    DialogHarness h;
    h.Add(SettingsLike());
    h.onInit = CheckDefaults;
    h.screen.PushKey(Key::Tab);   // 8 Ports
    h.screen.PushKey(Key::Down);  // 16 Ports
    UINT checked4 = 9;
    UINT checked8 = 9;
    UINT checked16 = 9;
    h.screen.PushCallback([&] {
        checked4 = IsDlgButtonChecked(h.last, kPorts4);
        checked8 = IsDlgButtonChecked(h.last, kPorts8);
        checked16 = IsDlgButtonChecked(h.last, kPorts16);
    });
    h.screen.PushKey(Key::Escape);
    h.Run(kDialog);
    EXPECT_EQ(checked4, static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(checked8, static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(checked16, static_cast<UINT>(BST_CHECKED));
    EXPECT_NE(std::find(h.commands.begin(), h.commands.end(), Command{kPorts16, BN_CLICKED}),
              h.commands.end());
}

TEST(GroupsAndArrows, CheckingMovesTheTabStopWithinTheGroup) {
    DialogHarness h;
    h.Add(SettingsLike());
    h.onInit = [](HWND dialog) -> INT_PTR {
        CheckDefaults(dialog);
        EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, kPorts4), GWL_STYLE) & WS_TABSTOP, 0);
        EXPECT_NE(GetWindowLongA(GetDlgItem(dialog, kPorts8), GWL_STYLE) & WS_TABSTOP, 0);
        return TRUE;
    };
    h.screen.PushKey(Key::Escape);
    h.Run(kDialog);
}

TEST(GroupsAndArrows, SpaceOnTheOtherBusButtonChecksIt) {
    DialogHarness h;
    h.Add(SettingsLike());
    h.onInit = CheckDefaults;
    h.screen.PushKey(Key::Tab);
    h.screen.PushKey(Key::Tab);    // ISA
    h.screen.PushKey(Key::Right);  // PCI: an arrow also moves within this group
    UINT pci = 0;
    h.screen.PushCallback([&] { pci = IsDlgButtonChecked(h.last, kPci); });
    h.screen.PushKey(Key::Escape);
    h.Run(kDialog);
    EXPECT_EQ(pci, static_cast<UINT>(BST_CHECKED));
}

TEST(GroupsAndArrows, NextDlgGroupItemWrapsWithinTheGroup) {
    DialogHarness h;
    h.Add(SettingsLike());
    h.onInit = [](HWND dialog) -> INT_PTR {
        HWND ports4 = GetDlgItem(dialog, kPorts4);
        HWND ports16 = GetDlgItem(dialog, kPorts16);
        EXPECT_EQ(GetNextDlgGroupItem(dialog, ports16, FALSE), ports4);
        EXPECT_EQ(GetNextDlgGroupItem(dialog, ports4, TRUE), ports16);
        EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), GetDlgItem(dialog, kCombo));
        EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, kCombo), TRUE),
                  GetDlgItem(dialog, IDCANCEL));
        return TRUE;
    };
    h.screen.PushKey(Key::Escape);
    h.Run(kDialog);
}

TEST(DisabledControls, TabSkipsThemAndClicksDoNothing) {
    DialogHarness h;
    h.Add(SettingsLike());
    h.onInit = [](HWND dialog) -> INT_PTR {
        CheckDefaults(dialog);
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
        return TRUE;
    };
    h.screen.PushKey(Key::BackTab);  // Cancel
    h.screen.PushKey(Key::BackTab);  // skips disabled Done: ISA
    int focus = 0;
    h.screen.PushCallback([&] {
        focus = FocusId();
        int x = 0;
        int y = 0;
        ASSERT_TRUE(h.screen.Find("Done", &x, &y));
        EXPECT_EQ(h.screen.RoleAt(x, y), CellRole::Disabled);
        h.screen.PushClick(x, y);
        h.screen.PushKey(Key::Escape);
    });
    EXPECT_EQ(h.Run(kDialog), IDCANCEL);
    EXPECT_EQ(focus, kIsa);
    for (const Command& command : h.commands) {
        EXPECT_NE(command.id, IDOK);
    }
}

TEST(DisabledControls, DisablingTheFocusedControlMovesTheFocusOn) {
    DialogHarness h;
    h.Add(SettingsLike());
    h.onInit = CheckDefaults;
    int focus = 0;
    h.screen.PushCallback([&] {
        EXPECT_EQ(FocusId(), kCombo);
        EXPECT_FALSE(EnableWindow(GetDlgItem(h.last, kCombo), FALSE));  // was enabled
        focus = FocusId();
        EXPECT_TRUE(EnableWindow(GetDlgItem(h.last, kCombo), TRUE));  // was disabled
        EXPECT_EQ(SetFocus(GetDlgItem(h.last, IDCANCEL)), GetDlgItem(h.last, kPorts8));
    });
    h.screen.PushKey(Key::Enter);  // the focused Cancel button
    EXPECT_EQ(h.Run(kDialog), IDCANCEL);
    EXPECT_EQ(focus, kPorts8);
}

TEST(DisabledControls, CannotTakeTheFocus) {
    DialogHarness h;
    h.Add(SettingsLike());
    h.onInit = [](HWND dialog) -> INT_PTR {
        EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
        EXPECT_EQ(SetFocus(GetDlgItem(dialog, IDCANCEL)), nullptr);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDCANCEL)));
        return TRUE;
    };
    h.screen.PushKey(Key::Escape);
    h.Run(kDialog);
    EXPECT_FALSE(h.screen.RanDry());
}

}  // namespace
}  // namespace zov::test
