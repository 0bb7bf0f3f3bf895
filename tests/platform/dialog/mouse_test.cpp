// The mouse: a press focuses and selects, a push button fires when released over it, the wheel
// scrolls lists, opened lists take their clicks, clicks outside the dialog do nothing.
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace zov::test {
namespace {

constexpr int kDialog = 50;
constexpr int kList = 1000;
constexpr int kCombo = 1014;
constexpr int kApply = 1005;

void AddMouseDialog(DialogHarness& h) {
    h.Add(DialogOf(kDialog, "Mouse", 300, 120,
                   {ListAt(kList, 10, 10, 120, 50, LBS_NOTIFY), ComboAt(kCombo, 150, 10, 48, 48),
                    PushButtonAt(kApply, "&Apply", 150, 40),
                    PushButtonAt(IDOK, "OK", 10, 90, BS_DEFPUSHBUTTON),
                    PushButtonAt(IDCANCEL, "Cancel", 100, 90)}));
    h.onInit = [&h](HWND) -> INT_PTR {
        for (int i = 0; i < 20; ++i) {
            h.Send(kList, LB_ADDSTRING, 0, ("Row" + std::to_string(i)).c_str());
        }
        for (const char* irq : {"2", "3", "4", "5", "7", "10"}) {
            h.Send(kCombo, CB_ADDSTRING, 0, irq);
        }
        h.Send(kCombo, CB_SETCURSEL);
        return TRUE;
    };
}

TEST(Mouse, PressOnARowFocusesTheListAndSelectsItAndTheWheelScrollsIt) {
    DialogHarness h;
    AddMouseDialog(h);
    h.RunChecking(kDialog, {K(Key::Tab)}, [&] {  // the focus away from the list first
        const Spot row = h.Locate("Row2");
        h.screen.PushClick(row.x, row.y);
        h.screen.PushMouse(MouseAction::WheelDown, row.x, row.y);
        h.screen.PushCallback([&] {
            EXPECT_EQ(FocusId(), kList);
            EXPECT_EQ(h.Send(kList, LB_GETCURSEL), 2);
            EXPECT_EQ(h.Send(kList, LB_GETTOPINDEX), 3);
            EXPECT_FALSE(h.Shows("Row0"));
        });
    });
    EXPECT_EQ(h.CountOf({kList, LBN_SELCHANGE}), 1);
}

TEST(Mouse, ButtonFiresOnlyWhenReleasedOverIt) {
    DialogHarness h;
    AddMouseDialog(h);
    int fired = 0;
    h.onCommand[kApply] = [&](HWND) { ++fired; };
    h.RunChecking(kDialog, {}, [&] {
        const Spot apply = h.Locate("Apply");
        h.screen.PushMouse(MouseAction::Press, apply.x, apply.y);
        h.screen.PushMouse(MouseAction::Release, apply.x, apply.y + 3);  // dragged off: nothing
        h.screen.PushCallback([&] { EXPECT_EQ(fired, 0); });
        h.screen.PushClick(apply.x, apply.y);
        h.screen.PushClick(0, 0);  // outside the dialog
        h.screen.PushMouse(MouseAction::WheelDown, 79, 24);
    });
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(h.commands.size(), 2u);  // Apply, then Escape's cancel
}

TEST(Mouse, ClickOpensTheComboAndPicksAnEntry) {
    DialogHarness h;
    AddMouseDialog(h);
    bool picked = false;
    h.screen.PushCallback([&] {
        RECT field{};
        GetWindowRect(h.Item(kCombo), &field);
        h.screen.PushClick(field.left + 1, field.top);
        h.screen.PushCallback([&] {
            EXPECT_TRUE(h.Send(kCombo, CB_GETDROPPEDSTATE));
            const Spot entry = h.Locate("│4");
            h.screen.PushClick(entry.x + 1, entry.y);
            h.screen.PushCallback([&] {
                picked = true;
                EXPECT_FALSE(h.Send(kCombo, CB_GETDROPPEDSTATE));
                EXPECT_EQ(h.Send(kCombo, CB_GETCURSEL), 2);
            });
            h.screen.PushKey(Key::Escape);
        });
    });
    h.Run(kDialog);
    EXPECT_TRUE(picked);
    EXPECT_FALSE(h.screen.RanDry());
}

}  // namespace
}  // namespace zov::test
