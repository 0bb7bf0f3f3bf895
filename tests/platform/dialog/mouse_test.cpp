// The mouse: a press focuses and selects, a push button fires when released over it, the wheel
// scrolls lists, opened lists take their clicks.
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace zov::test {
namespace {

constexpr int kDialog = 50;
constexpr int kList = 1000;
constexpr int kCombo = 1014;
constexpr int kApply = 1005;

DialogTemplate MouseDialog() {
    return DialogOf(kDialog, "Mouse", 300, 120,
                    {ListAt(kList, 10, 10, 120, 50, LBS_NOTIFY), ComboAt(kCombo, 150, 10, 48, 48),
                     PushButtonAt(kApply, "&Apply", 150, 40),
                     PushButtonAt(IDOK, "OK", 10, 90, BS_DEFPUSHBUTTON),
                     PushButtonAt(IDCANCEL, "Cancel", 100, 90)});
}

INT_PTR Fill(HWND dialog) {
    for (int i = 0; i < 20; ++i) {
        const std::string row = "Row" + std::to_string(i);
        SendDlgItemMessageA(dialog, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    }
    for (const char* irq : {"2", "3", "4", "5", "7", "10"}) {
        SendDlgItemMessageA(dialog, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(irq));
    }
    SendDlgItemMessageA(dialog, kCombo, CB_SETCURSEL, 0, 0);
    return TRUE;
}

TEST(Mouse, PressOnARowFocusesTheListAndSelectsIt) {
    DialogHarness h;
    h.Add(MouseDialog());
    h.onInit = Fill;
    h.screen.PushKey(Key::Tab);  // away from the list
    h.screen.PushCallback([&] {
        int x = 0;
        int y = 0;
        ASSERT_TRUE(h.screen.Find("Row2", &x, &y));
        h.screen.PushClick(x, y);
        h.screen.PushCallback([&] {
            EXPECT_EQ(FocusId(), kList);
            EXPECT_EQ(SendDlgItemMessageA(h.last, kList, LB_GETCURSEL, 0, 0), 2);
        });
        h.screen.PushKey(Key::Escape);
    });
    h.Run(kDialog);
    EXPECT_NE(std::find(h.commands.begin(), h.commands.end(), Command{kList, LBN_SELCHANGE}),
              h.commands.end());
}

TEST(Mouse, ButtonFiresOnlyWhenReleasedOverIt) {
    DialogHarness h;
    h.Add(MouseDialog());
    h.onInit = Fill;
    int fired = 0;
    h.onCommand[kApply] = [&](HWND) { ++fired; };
    h.screen.PushCallback([&] {
        int x = 0;
        int y = 0;
        ASSERT_TRUE(h.screen.Find("Apply", &x, &y));
        h.screen.PushMouse(MouseAction::Press, x, y);
        h.screen.PushMouse(MouseAction::Release, x, y + 3);  // dragged off: nothing
        h.screen.PushCallback([&] { EXPECT_EQ(fired, 0); });
        h.screen.PushClick(x, y);
        h.screen.PushKey(Key::Escape);
    });
    h.Run(kDialog);
    EXPECT_EQ(fired, 1);
}

TEST(Mouse, WheelScrollsTheList) {
    DialogHarness h;
    h.Add(MouseDialog());
    h.onInit = Fill;
    h.screen.PushCallback([&] {
        int x = 0;
        int y = 0;
        ASSERT_TRUE(h.screen.Find("Row0", &x, &y));
        h.screen.PushMouse(MouseAction::WheelDown, x, y);
        h.screen.PushCallback([&] {
            EXPECT_EQ(SendDlgItemMessageA(h.last, kList, LB_GETTOPINDEX, 0, 0), 3);
            EXPECT_FALSE(h.screen.Find("Row0", nullptr, nullptr));
        });
        h.screen.PushKey(Key::Escape);
    });
    h.Run(kDialog);
}

TEST(Mouse, ClickOpensTheComboAndPicksAnEntry) {
    DialogHarness h;
    h.Add(MouseDialog());
    h.onInit = Fill;
    h.screen.PushCallback([&] {
        RECT field{};
        GetWindowRect(GetDlgItem(h.last, kCombo), &field);
        h.screen.PushClick(field.left + 1, field.top);
        h.screen.PushCallback([&] {
            EXPECT_TRUE(SendDlgItemMessageA(h.last, kCombo, CB_GETDROPPEDSTATE, 0, 0));
            int x = 0;
            int y = 0;
            ASSERT_TRUE(h.screen.Find("│4", &x, &y));
            h.screen.PushClick(x + 1, y);
            h.screen.PushCallback([&] {
                EXPECT_FALSE(SendDlgItemMessageA(h.last, kCombo, CB_GETDROPPEDSTATE, 0, 0));
                EXPECT_EQ(SendDlgItemMessageA(h.last, kCombo, CB_GETCURSEL, 0, 0), 2);
            });
            h.screen.PushKey(Key::Escape);
        });
    });
    h.Run(kDialog);
    EXPECT_FALSE(h.screen.RanDry());
}

TEST(Mouse, ClicksOutsideTheDialogDoNothing) {
    DialogHarness h;
    h.Add(MouseDialog());
    h.onInit = Fill;
    h.screen.PushClick(0, 0);
    h.screen.PushMouse(MouseAction::WheelDown, 79, 24);
    h.screen.PushKey(Key::Escape);
    h.Run(kDialog);
    ASSERT_EQ(h.commands.size(), 1u);
    EXPECT_EQ(h.commands[0].id, IDCANCEL);
}

}  // namespace
}  // namespace zov::test
