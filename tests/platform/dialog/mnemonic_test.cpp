// '&' mnemonics: Alt+letter anywhere, the plain letter where the focused control does not take
// letters, and labels that hand the focus on. (Their underlines: the golden screens of the
// utility's templates, tests/ui/res.)
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace zov::test {
namespace {

constexpr int kDialog = 142;
constexpr int kList = 1000;
constexpr int kProperties = 1004;
constexpr int kAdd = 1001;
constexpr int kRemove = 1002;
constexpr int kIsa = 1011;
constexpr int kPci = 1012;

void AddCardList(DialogHarness& h) {
    DialogTemplate card_list = CardListLike();
    card_list.cy = 150;
    card_list.controls[5].style |= WS_DISABLED;  // Remove
    card_list.controls.push_back(GroupBoxAt("&Bus", 20, 115, 100, 30));
    card_list.controls.push_back(RadioAt(kIsa, "ISA", 30, 125, 30, WS_GROUP | WS_TABSTOP));
    card_list.controls.push_back(RadioAt(kPci, "PCI", 70, 125, 30));
    h.Add(card_list);
    h.onInit = [](HWND dialog) -> INT_PTR {
        SendDlgItemMessageA(dialog, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Card1"));
        SendDlgItemMessageA(dialog, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Pci"));
        CheckRadioButton(dialog, kIsa, kPci, kPci);
        return TRUE;
    };
    h.onCommand[kProperties] = [](HWND dialog) { EndDialog(dialog, kProperties); };
    h.onCommand[kAdd] = [](HWND dialog) { EndDialog(dialog, kAdd); };
}

TEST(Mnemonics, LettersClickButtonsOrMoveTheFocus) {
    struct Case {
        std::vector<KeyEvent> keys;  // the list has the focus first
        INT_PTR result;
        int focus;  // afterwards, 0 when the dialog has ended
        LRESULT listSelection;
    };
    const KeyEvent tab = K(Key::Tab);  // to Close, which takes no letters
    const std::vector<Case> cases = {
        {{Letter(U'p', true)}, kProperties, 0, LB_ERR},  // Alt+letter from the list
        {{Letter(U'p')}, IDCANCEL, kList, 1},            // the list takes the plain letter
        {{tab, Letter(U'a')}, kAdd, 0, LB_ERR},
        {{tab, Letter(U'z', true)}, IDCANCEL, kList, LB_ERR},  // a label: the next control
        {{tab, Letter(U'b')}, IDCANCEL, kPci, LB_ERR},         // a group box: its checked button
        {{Letter(U'r', true)}, IDCANCEL, kList, LB_ERR},       // a disabled button ignores its own
    };
    for (std::size_t row = 0; row < cases.size(); ++row) {
        SCOPED_TRACE(row);
        DialogHarness h;
        AddCardList(h);
        h.Push(cases[row].keys);
        int focus = 0;
        LRESULT selection = LB_ERR;
        h.screen.PushCallback([&] {
            focus = FocusId();
            selection = h.Send(kList, LB_GETCURSEL);
        });
        h.screen.PushKey(Key::Escape);
        EXPECT_EQ(h.Run(kDialog), cases[row].result);
        EXPECT_EQ(focus, cases[row].focus);
        EXPECT_EQ(selection, cases[row].listSelection);
        EXPECT_FALSE(h.Sent(kRemove));
    }
}

}  // namespace
}  // namespace zov::test
