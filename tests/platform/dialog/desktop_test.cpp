// Dialogs on the desktop. How the desktop places and draws what is around the active dialog:
// centred on resizes, its own note below the first dialog, the too-small notice, and focus on a
// drop-down list. Nested modal dialogs and message boxes: owners disabled (and drawn inactive)
// while they run and enabled after, centring over the owner, the active window, and message box
// answers. (The layout of the utility's own templates: tests/ui/res.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_harness.h"

namespace zov::test {
namespace {

TEST(Placement, ResizeRecentresTheDialog) {
    DialogHarness h(CardListTemplate(), 80, 25);
    RECT before{};
    RECT after{};
    h.screen.PushCallback([&] { GetWindowRect(h.last, &before); });
    h.screen.PushResize(120, 40);
    h.RunChecking(IDD_CARD_LIST, {}, [&] { GetWindowRect(h.last, &after); });
    EXPECT_EQ(after.left - before.left, 20);
    EXPECT_GT(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
}

TEST(DesktopLook, TheNoteStandsBelowTheFirstDialogAndLeavesItAsDrawn) {
    const std::string note = "Read-only: changes need administrator rights.";
    std::vector<std::string> without;
    std::vector<std::string> with;
    RECT rect{};
    for (const bool shown : {false, true}) {
        DialogHarness h(CardListTemplate(), 80, 24);
        SetDesktopNote(shown ? note : "");
        h.RunChecking(IDD_CARD_LIST, {}, [&] {
            GetWindowRect(h.last, &rect);
            (shown ? with : without) = h.screen.Lines();
        });
    }
    SetDesktopNote("");
    ASSERT_LT(rect.bottom, 24);
    for (int y = 0; y < rect.bottom; ++y) {
        EXPECT_EQ(with[static_cast<std::size_t>(y)], without[static_cast<std::size_t>(y)]) << y;
    }
    EXPECT_EQ(with[static_cast<std::size_t>(rect.bottom)].find(note),
              static_cast<std::size_t>(rect.left));
}

TEST(DesktopLook, TheTooSmallNoticeKeepsTheSizeOnOneLineAtEveryWidth) {
    for (int width = 12; width <= 60; ++width) {
        DialogHarness h(CardListTemplate(), width, 10);
        h.RunChecking(IDD_CARD_LIST, {}, [&] {
            RECT rect{};
            GetWindowRect(h.last, &rect);
            const std::string size = std::to_string(rect.right - rect.left) + " x " +
                                     std::to_string(rect.bottom - rect.top) + ".";
            EXPECT_TRUE(h.Shows(size)) << "width " << width << "\n" << h.screen.Text();
        });
    }
}

TEST(DesktopLook, AFocusedDropDownShowsItsEntrySelected) {
    for (const bool focused : {true, false}) {
        DialogHarness h(CardSettingsTemplate());
        h.onInit = [&](HWND) -> INT_PTR {
            h.Send(IDC_BASE_ADDRESS, CB_ADDSTRING, 0, "200");
            h.Send(IDC_BASE_ADDRESS, CB_SETCURSEL);
            return TRUE;
        };
        // The combo is the first tab stop; a Tab moves on from it.
        h.RunChecking(IDD_CARD_SETTINGS, std::vector<KeyEvent>(focused ? 0 : 1, K(Key::Tab)), [&] {
            EXPECT_EQ(FocusId() == IDC_BASE_ADDRESS, focused);
            const Spot entry = h.Locate("200");
            EXPECT_EQ(h.screen.RoleAt(entry.x, entry.y),
                      focused ? CellRole::SelectionFocused : CellRole::Field);
        });
    }
}

constexpr int kInner = 135;
constexpr int kMessage = 1003;  // added to the card list

void AddBoth(DialogHarness& h) {
    DialogTemplate outer = CardListTemplate();
    outer.controls.push_back(PushButtonAt(kMessage, "&Message", 238, 110));
    h.Add(outer);
    h.Add(DialogOf(kInner, "", 217, 85,
                   {PushButtonAt(IDOK, "&Continue", 30, 64, BS_DEFPUSHBUTTON),
                    PushButtonAt(IDCANCEL, "&Abort", 131, 64),
                    StaticAt("Do you want to Continue removing the Card ?", 17, 25, 182, 19,
                             SS_CENTER | WS_GROUP)}));
}

TEST(NestedModals, OwnerIsDisabledLooksInactiveWithItsCloseBoxAndIgnoresClicksMeanwhile) {
    DialogHarness h;
    AddBoth(h);
    h.onInit = [&](HWND) -> INT_PTR {
        h.Send(IDC_CARD_LIST, LB_ADDSTRING, 0, "Card1");
        return TRUE;
    };
    INT_PTR inner = 0;
    HWND outer = nullptr;
    HWND innerWindow = nullptr;
    RECT outerRect{};
    RECT innerRect{};
    Spot closeBox;
    h.onCommand[IDC_REMOVE] = [&](HWND dialog) {
        outer = dialog;
        GetWindowRect(outer, &outerRect);
        h.screen.PushCallback([&] {
            innerWindow = GetActiveWindow();
            GetWindowRect(innerWindow, &innerRect);
            EXPECT_NE(innerWindow, outer);
            EXPECT_EQ(GetWindow(innerWindow, GW_OWNER), outer);
            EXPECT_FALSE(IsWindowEnabled(outer));
            EXPECT_EQ(h.screen.RoleAt(outerRect.left + 1, outerRect.top), CellRole::TitleInactive);
            closeBox = h.Locate("[×]");  // the owner's: the inner dialog has none
            for (int x = closeBox.x; x < closeBox.x + 3; ++x) {
                EXPECT_EQ(h.screen.RoleAt(x, closeBox.y), CellRole::TitleInactive) << x;
            }
            // The owner's list, left of the inner dialog: visible but disabled.
            RECT list{};
            GetWindowRect(GetDlgItem(outer, IDC_CARD_LIST), &list);
            ASSERT_LT(list.left + 1, innerRect.left);
            h.screen.PushClick(list.left + 1, list.top + 1);
            h.screen.PushKey(Key::Enter);  // Continue, which kept the focus
        });
        inner = h.Run(kInner, GetActiveWindow());
        EXPECT_TRUE(IsWindowEnabled(outer));
        EXPECT_EQ(SendDlgItemMessageA(outer, IDC_CARD_LIST, LB_GETCURSEL, 0, 0), LB_ERR);
        h.screen.PushCallback(
            [&] { EXPECT_EQ(h.screen.RoleAt(closeBox.x, closeBox.y), CellRole::CloseBox); });
        h.screen.PushKey(Key::Escape);
    };
    h.screen.PushCharacter(U'r', true);
    EXPECT_EQ(h.Run(IDD_CARD_LIST), IDCANCEL);
    EXPECT_EQ(inner, IDOK);
    EXPECT_FALSE(IsWindow(innerWindow));
    EXPECT_EQ(h.commands,
              (std::vector<Command>{
                  {IDC_REMOVE, BN_CLICKED}, {IDOK, BN_CLICKED}, {IDCANCEL, BN_CLICKED}}));
    // Centred over its owner, below the owner's title.
    EXPECT_LE(
        std::abs((outerRect.left + outerRect.right) / 2 - (innerRect.left + innerRect.right) / 2),
        1);
    EXPECT_GT(innerRect.top, outerRect.top);
}

TEST(MessageBoxes, ShowTextIconAndOkAndEndWithEnterOrEscape) {
    DialogHarness h;
    AddBoth(h);
    int first = 0;
    int second = 0;
    h.onCommand[kMessage] = [&](HWND dialog) {
        h.screen.PushCallback([&] {
            EXPECT_TRUE(h.Shows("Base address conflict"));
            EXPECT_TRUE(h.Shows("with card 2."));
            EXPECT_TRUE(h.Shows("Conflict"));
            const Spot icon = h.Locate("(X)");
            EXPECT_EQ(h.screen.RoleAt(icon.x, icon.y), CellRole::Notice);
            const Spot ok = h.Locate("OK");
            EXPECT_EQ(h.screen.RoleAt(ok.x, ok.y), CellRole::ButtonFocused);
            EXPECT_FALSE(IsWindowEnabled(dialog));
        });
        h.screen.PushKey(Key::Enter);
        first = MessageBoxA(dialog, "Base address conflict\nwith card 2.", "Conflict",
                            MB_OK | MB_ICONHAND | MB_TASKMODAL);
        h.screen.PushCallback([&] {
            EXPECT_TRUE(h.Shows("Error"));  // a null caption
            const Spot sign = h.Locate("/!\\");
            EXPECT_EQ(h.screen.RoleAt(sign.x, sign.y), CellRole::Notice);
        });
        h.screen.PushKey(Key::Escape);
        second = MessageBoxA(dialog, "x", nullptr, MB_OK | MB_ICONEXCLAMATION);
        EXPECT_TRUE(IsWindowEnabled(dialog));
        h.screen.PushKey(Key::Escape);
    };
    h.screen.PushCharacter(U'm', true);
    h.Run(IDD_CARD_LIST);
    EXPECT_EQ(first, IDOK);
    EXPECT_EQ(second, IDOK);
    EXPECT_FALSE(h.screen.RanDry());
}

TEST(MessageBoxes, ButtonsOfTheOtherTypes) {
    struct Case {
        UINT type;
        std::vector<KeyEvent> keys;
        int result;
    };
    const std::vector<Case> cases = {
        {MB_OKCANCEL, {K(Key::Escape)}, IDCANCEL},
        {MB_OKCANCEL, {K(Key::Tab), K(Key::Enter)}, IDCANCEL},
        {MB_YESNO, {K(Key::Escape), K(Key::Tab), K(Key::Enter)}, IDNO},  // Escape does nothing
        {MB_YESNO, {Letter(U'n')}, IDNO},
        {MB_YESNO, {}, IDNO},  // the input ended
    };
    for (std::size_t row = 0; row < cases.size(); ++row) {
        SCOPED_TRACE(row);
        DialogHarness h;
        h.Push(cases[row].keys);
        EXPECT_EQ(MessageBoxA(nullptr, "Sure?", "Question", cases[row].type), cases[row].result);
        EXPECT_EQ(h.screen.RanDry(), cases[row].keys.empty());
    }
}

}  // namespace
}  // namespace zov::test
