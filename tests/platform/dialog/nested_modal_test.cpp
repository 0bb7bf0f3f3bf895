// Nested modal dialogs and message boxes: owners disabled while they run and enabled after,
// centring over the owner, the active window, and message box answers.
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace zov::test {
namespace {

constexpr int kOuter = 142;
constexpr int kInner = 135;
constexpr int kRemove = 1002;
constexpr int kMessage = 1003;

void AddBoth(DialogHarness& h) {
    h.Add(DialogOf(
        kOuter, "Outer", 308, 135,
        {ListAt(1000, 15, 34, 214, 77), PushButtonAt(IDCANCEL, "&Close", 238, 30),
         PushButtonAt(kRemove, "&Remove", 238, 90), PushButtonAt(kMessage, "&Message", 238, 110)},
        WS_SYSMENU));
    h.Add(DialogOf(kInner, "", 217, 85,
                   {PushButtonAt(IDOK, "&Continue", 30, 64, BS_DEFPUSHBUTTON),
                    PushButtonAt(IDCANCEL, "&Abort", 131, 64),
                    StaticAt("Do you want to Continue removing the Card ?", 17, 25, 182, 19,
                             SS_CENTER | WS_GROUP)}));
}

TEST(NestedModals, OwnerIsDisabledWhileTheInnerDialogRunsAndEnabledAfter) {
    DialogHarness h;
    AddBoth(h);
    INT_PTR inner = 0;
    bool outerEnabledInside = true;
    bool outerEnabledAfter = false;
    HWND ownerInside = nullptr;
    HWND activeInside = nullptr;
    HWND outer = nullptr;
    h.onCommand[kRemove] = [&](HWND dialog) {
        outer = dialog;
        h.screen.PushCallback([&] {
            outerEnabledInside = IsWindowEnabled(outer) != FALSE;
            activeInside = GetActiveWindow();
            ownerInside = GetWindow(activeInside, GW_OWNER);
        });
        h.screen.PushKey(Key::Enter);  // Continue, the first tab stop
        inner = h.Run(kInner, GetActiveWindow());
        outerEnabledAfter = IsWindowEnabled(outer) != FALSE;
        h.screen.PushKey(Key::Escape);
    };
    h.screen.PushCharacter(U'r', true);
    EXPECT_EQ(h.Run(kOuter), IDCANCEL);
    EXPECT_EQ(inner, IDOK);
    EXPECT_FALSE(outerEnabledInside);
    EXPECT_TRUE(outerEnabledAfter);
    EXPECT_EQ(ownerInside, outer);
    EXPECT_NE(activeInside, outer);
    EXPECT_EQ(GetParent(activeInside), nullptr);  // gone by now
}

TEST(NestedModals, InnerDialogIsCentredOverItsOwnerAndTheOwnerLooksInactive) {
    DialogHarness h;
    AddBoth(h);
    RECT outerRect{};
    RECT innerRect{};
    CellRole outerTitle = CellRole::Title;
    h.onCommand[kRemove] = [&](HWND dialog) {
        GetWindowRect(dialog, &outerRect);
        h.screen.PushCallback([&] {
            GetWindowRect(GetActiveWindow(), &innerRect);
            outerTitle = h.screen.RoleAt(outerRect.left + 1, outerRect.top);
        });
        h.screen.PushKey(Key::Escape);
        h.Run(kInner, dialog);
        h.screen.PushKey(Key::Escape);
    };
    h.screen.PushCharacter(U'r', true);
    h.Run(kOuter);
    const int outerMiddle = (outerRect.left + outerRect.right) / 2;
    const int innerMiddle = (innerRect.left + innerRect.right) / 2;
    EXPECT_LE(std::abs(outerMiddle - innerMiddle), 1);
    EXPECT_GT(innerRect.top, outerRect.top);
    EXPECT_EQ(outerTitle, CellRole::TitleInactive);
}

TEST(NestedModals, ClicksOnTheDisabledOwnerDoNothing) {
    DialogHarness h;
    AddBoth(h);
    h.onCommand[kRemove] = [&](HWND dialog) {
        h.screen.PushCallback([&, dialog] {
            // The owner's list, left of the inner dialog: visible but disabled.
            RECT list{};
            GetWindowRect(GetDlgItem(dialog, 1000), &list);
            RECT inner{};
            GetWindowRect(GetActiveWindow(), &inner);
            ASSERT_LT(list.left + 1, inner.left);
            SendDlgItemMessageA(dialog, 1000, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Card1"));
            h.screen.PushClick(list.left + 1, list.top + 1);
            h.screen.PushCallback([&, dialog] {
                EXPECT_EQ(SendDlgItemMessageA(dialog, 1000, LB_GETCURSEL, 0, 0), LB_ERR);
                EXPECT_NE(GetActiveWindow(), dialog);
            });
            h.screen.PushKey(Key::Escape);
        });
        EXPECT_EQ(h.Run(kInner, dialog), IDCANCEL);
        h.screen.PushKey(Key::Escape);
    };
    h.screen.PushCharacter(U'r', true);
    h.Run(kOuter);
    // Remove, then the inner dialog's cancel, then the outer Escape: no click on Close.
    ASSERT_EQ(h.commands.size(), 3u);
    EXPECT_EQ(h.commands[0].id, kRemove);
}

TEST(MessageBoxes, ShowTextIconAndOkAndEndWithEnterOrEscape) {
    DialogHarness h;
    AddBoth(h);
    int first = 0;
    int second = 0;
    h.onCommand[kMessage] = [&](HWND dialog) {
        h.screen.PushCallback([&] {
            int x = 0;
            int y = 0;
            EXPECT_TRUE(h.screen.Find("Base address conflict", &x, &y));
            EXPECT_TRUE(h.screen.Find("with card 2.", nullptr, nullptr));
            ASSERT_TRUE(h.screen.Find("(X)", &x, &y));
            EXPECT_EQ(h.screen.RoleAt(x, y), CellRole::Notice);
            EXPECT_TRUE(h.screen.Find("Conflict", nullptr, nullptr));
            ASSERT_TRUE(h.screen.Find("OK", &x, &y));
            EXPECT_EQ(h.screen.RoleAt(x, y), CellRole::ButtonFocused);
            EXPECT_FALSE(IsWindowEnabled(dialog));
        });
        h.screen.PushKey(Key::Enter);
        first = MessageBoxA(dialog, "Base address conflict\nwith card 2.", "Conflict",
                            MB_OK | MB_ICONHAND | MB_TASKMODAL);
        h.screen.PushKey(Key::Escape);
        second = MessageBoxA(dialog, "x", nullptr, MB_OK | MB_ICONEXCLAMATION);
        EXPECT_TRUE(IsWindowEnabled(dialog));
        h.screen.PushKey(Key::Escape);
    };
    h.screen.PushCharacter(U'm', true);
    h.Run(kOuter);
    EXPECT_EQ(first, IDOK);
    EXPECT_EQ(second, IDOK);
    EXPECT_FALSE(h.screen.RanDry());
}

TEST(MessageBoxes, NullCaptionReadsErrorAndExclamationSign) {
    DialogHarness h;
    h.screen.PushCallback([&] {
        EXPECT_TRUE(h.screen.Find("Error", nullptr, nullptr));
        int x = 0;
        int y = 0;
        ASSERT_TRUE(h.screen.Find("/!\\", &x, &y));
        EXPECT_EQ(h.screen.RoleAt(x, y), CellRole::Notice);
    });
    h.screen.PushKey(Key::Enter);
    EXPECT_EQ(MessageBoxA(nullptr, "Card Registry Not Found", nullptr, MB_ICONEXCLAMATION), IDOK);
}

TEST(MessageBoxes, ButtonsOfTheOtherTypes) {
    struct Case {
        UINT type;
        std::vector<Key> keys;
        int result;
    };
    const std::vector<Case> cases = {
        {MB_OKCANCEL, {Key::Escape}, IDCANCEL},
        {MB_OKCANCEL, {Key::Tab, Key::Enter}, IDCANCEL},
        {MB_OKCANCEL, {Key::Enter}, IDOK},
        {MB_YESNO, {Key::Escape, Key::Tab, Key::Enter}, IDNO},  // Escape does nothing
        {MB_YESNO, {Key::Enter}, IDYES},
    };
    for (const Case& c : cases) {
        DialogHarness h;
        for (Key key : c.keys) {
            h.screen.PushKey(key);
        }
        EXPECT_EQ(MessageBoxA(nullptr, "Sure?", "Question", c.type), c.result);
        EXPECT_FALSE(h.screen.RanDry());
    }
    DialogHarness h;
    h.screen.PushCharacter(U'n');
    EXPECT_EQ(MessageBoxA(nullptr, "Sure?", "Question", MB_YESNO), IDNO);
}

TEST(MessageBoxes, YesNoAnswersNoWhenInputEnds) {
    DialogHarness h;
    EXPECT_EQ(MessageBoxA(nullptr, "Sure?", "Question", MB_YESNO), IDNO);
    EXPECT_TRUE(h.screen.RanDry());
}

}  // namespace
}  // namespace zov::test
