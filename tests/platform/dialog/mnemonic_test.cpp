// '&' mnemonics: underlined on screen, Alt+letter anywhere, the plain letter where the focused
// control does not take letters, and labels that hand the focus on.
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace zov::test {
namespace {

constexpr int kDialog = 142;
constexpr int kList = 1000;
constexpr int kProperties = 1004;
constexpr int kAdd = 1001;

DialogTemplate ListLike() {
    return DialogOf(
        kDialog, " Cards", 308, 135,
        {StaticAt("&ZOVCards                  BusType         Port Count       "
                  "Starting Port",
                  17, 23, 201, 8),
         ListAt(kList, 15, 34, 214, 77, LBS_NOTIFY | LBS_USETABSTOPS),
         PushButtonAt(IDCANCEL, "&Close", 238, 30),
         PushButtonAt(kProperties, "&Properties", 238, 50), PushButtonAt(kAdd, "&Add", 238, 70)},
        WS_SYSMENU);
}

TEST(Mnemonics, AreUnderlinedOnScreen) {
    DialogHarness h;
    h.Add(ListLike());
    h.screen.PushCallback([&] {
        int x = 0;
        int y = 0;
        ASSERT_TRUE(h.screen.Find("Properties", &x, &y));
        EXPECT_TRUE(h.screen.UnderlineAt(x, y));
        EXPECT_FALSE(h.screen.UnderlineAt(x + 1, y));
        ASSERT_TRUE(h.screen.Find("ZOVCards", &x, &y));
        EXPECT_TRUE(h.screen.UnderlineAt(x, y));
        EXPECT_FALSE(h.screen.Find("&", nullptr, nullptr));
    });
    h.screen.PushKey(Key::Escape);
    h.Run(kDialog);
}

TEST(Mnemonics, AltLetterClicksTheButtonFromAList) {
    DialogHarness h;
    h.Add(ListLike());
    h.onCommand[kProperties] = [](HWND dialog) { EndDialog(dialog, kProperties); };
    h.screen.PushCharacter(U'p', true);
    EXPECT_EQ(h.Run(kDialog), kProperties);
}

TEST(Mnemonics, PlainLetterGoesToTheListThatHasTheFocus) {
    DialogHarness h;
    h.Add(ListLike());
    h.onInit = [](HWND dialog) -> INT_PTR {
        SendDlgItemMessageA(dialog, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Card1"));
        SendDlgItemMessageA(dialog, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Pci"));
        return TRUE;
    };
    h.screen.PushCharacter(U'p');  // the list takes letters: selects "Pci", no click
    LRESULT selection = LB_ERR;
    h.screen.PushCallback(
        [&] { selection = SendDlgItemMessageA(h.last, kList, LB_GETCURSEL, 0, 0); });
    h.screen.PushKey(Key::Escape);
    EXPECT_EQ(h.Run(kDialog), IDCANCEL);
    EXPECT_EQ(selection, 1);
    for (const Command& command : h.commands) {
        EXPECT_NE(command.id, kProperties);
    }
}

TEST(Mnemonics, PlainLetterWorksWhenAButtonHasTheFocus) {
    DialogHarness h;
    h.Add(ListLike());
    h.onCommand[kAdd] = [](HWND dialog) { EndDialog(dialog, kAdd); };
    h.screen.PushKey(Key::Tab);  // Close
    h.screen.PushCharacter(U'a');
    EXPECT_EQ(h.Run(kDialog), kAdd);
}

TEST(Mnemonics, LabelHandsTheFocusToTheNextControl) {
    DialogHarness h;
    h.Add(ListLike());
    int focus = 0;
    h.screen.PushKey(Key::Tab);  // Close
    h.screen.PushCharacter(U'z', true);
    h.screen.PushCallback([&] { focus = FocusId(); });
    h.screen.PushKey(Key::Escape);
    h.Run(kDialog);
    EXPECT_EQ(focus, kList);
}

TEST(Mnemonics, GroupBoxHandsTheFocusToItsCheckedRadioButton) {
    DialogHarness h;
    h.Add(DialogOf(1, "Group", 200, 80,
                   {PushButtonAt(IDOK, "OK", 10, 50, BS_DEFPUSHBUTTON),
                    GroupBoxAt("&Port Count", 80, 5, 100, 60),
                    RadioAt(11, "4 Ports", 90, 15, 40, WS_GROUP | WS_TABSTOP),
                    RadioAt(12, "8 Ports", 90, 30, 40), RadioAt(13, "16 Ports", 90, 45, 40)}));
    h.onInit = [](HWND dialog) -> INT_PTR {
        CheckRadioButton(dialog, 11, 13, 13);
        return TRUE;
    };
    int focus = 0;
    h.screen.PushCharacter(U'p');  // a push button has the focus: plain letters are mnemonics
    h.screen.PushCallback([&] { focus = FocusId(); });
    h.screen.PushKey(Key::Escape);
    h.Run(1);
    EXPECT_EQ(focus, 13);
}

TEST(Mnemonics, DisabledButtonIgnoresItsMnemonic) {
    DialogHarness h;
    h.Add(ListLike());
    h.onInit = [](HWND dialog) -> INT_PTR {
        EnableWindow(GetDlgItem(dialog, kAdd), FALSE);
        return TRUE;
    };
    h.screen.PushCharacter(U'a', true);
    h.screen.PushKey(Key::Escape);
    h.Run(kDialog);
    ASSERT_EQ(h.commands.size(), 1u);
    EXPECT_EQ(h.commands[0].id, IDCANCEL);
}

}  // namespace
}  // namespace zov::test
