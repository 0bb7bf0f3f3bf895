// List boxes and drop-down combo boxes: their messages with Windows' results, and their keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_harness.h"

namespace zov::test {
namespace {

constexpr int kDialog = 7;
constexpr int kList = 1000;
constexpr int kCombo = 1008;
constexpr int kSorted = 1009;
constexpr WPARAM kFromStart = static_cast<WPARAM>(-1);

// Runs the lists dialog: init fills it, then the keys, then check inside the loop.
void RunWith(const std::function<void(DialogHarness&)>& init, const std::vector<KeyEvent>& keys,
             const std::function<void(DialogHarness&)>& check) {
    DialogHarness h(
        DialogOf(kDialog, "Lists", 300, 120,
                 {ListAt(kList, 10, 10, 214, 40, LBS_NOTIFY | LBS_USETABSTOPS),
                  ComboAt(kCombo, 240, 10, 48, 48), ComboAt(kSorted, 240, 40, 48, 69, CBS_SORT),
                  PushButtonAt(IDOK, "OK", 10, 90, BS_DEFPUSHBUTTON),
                  PushButtonAt(IDCANCEL, "Cancel", 100, 90)}));
    h.onInit = [&](HWND) -> INT_PTR {
        init(h);
        // An init that chose the focus answers FALSE, or the dialog manager moves it.
        return GetFocus() == nullptr ? TRUE : FALSE;
    };
    h.RunChecking(kDialog, keys, [&] { check(h); });
}

// The text of a control, through WM_GETTEXT.
std::string TextOf(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)), '\0');
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()) + 1);
    return text;
}

void FillList(DialogHarness& h, int rows) {
    for (int i = 1; i <= rows; ++i) {
        const std::string row = "Card" + std::to_string(i) + "\tISA\t8\tCOM" + std::to_string(i);
        h.Send(kList, LB_ADDSTRING, 0, row.c_str());
    }
}

void FillCombo(DialogHarness& h, const std::vector<const char*>& items) {
    for (const char* item : items) {
        h.Send(kCombo, CB_ADDSTRING, 0, item);
    }
}

TEST(ListBoxMessages, SelectStringWrapsAndErrorsAreWindowsResults) {
    RunWith([](DialogHarness& h) { FillList(h, 10); }, {},
            [](DialogHarness& h) {
                // From index 0 the search meets Card10 (index 9) before wrapping to Card1.
                EXPECT_EQ(h.Send(kList, LB_SELECTSTRING, 0, "card1"), 9);
                EXPECT_EQ(h.Send(kList, LB_SELECTSTRING, kFromStart, "CARD1"), 0);
                EXPECT_EQ(h.Send(kList, LB_SELECTSTRING, 0, "Card7"), 6);
                EXPECT_EQ(h.Send(kList, LB_SELECTSTRING, 0, "PCI"), LB_ERR);
                EXPECT_EQ(h.Send(kList, LB_GETCURSEL), 6);
                EXPECT_EQ(h.Send(kList, LB_SETCURSEL, 15), LB_ERR);
                EXPECT_EQ(h.Send(kList, LB_SETCURSEL, kFromStart), LB_ERR);
                EXPECT_EQ(h.Send(kList, LB_GETCURSEL), LB_ERR);
                EXPECT_EQ(h.Send(kList, LB_GETTEXTLEN, 10), LB_ERR);
                std::vector<char> buffer(18, 'x');
                EXPECT_EQ(h.Send(kList, LB_GETTEXT, 1, buffer.data()), 16);
                EXPECT_STREQ(buffer.data(), "Card2\tISA\t8\tCOM2");
                EXPECT_EQ(h.Send(kList, LB_GETTEXT, 17, buffer.data()), LB_ERR);
                h.Send(kList, LB_RESETCONTENT);
                EXPECT_EQ(h.Send(kList, LB_GETCOUNT), 0);
                EXPECT_EQ(h.Send(kList, LB_SELECTSTRING, 0, "card1"), LB_ERR);
            });
}

TEST(ListBoxKeys, MoveTheSelectionNotifyAndScrollItIntoView) {
    struct Case {
        std::vector<KeyEvent> keys;
        LRESULT selection;
        LRESULT top;  // the list shows 3 rows
        bool notified;
    };
    const std::vector<Case> cases = {
        {{K(Key::Down), K(Key::Down), K(Key::Up)}, 1, 0, true},
        {{K(Key::End)}, 11, 9, true},
        {{K(Key::PageDown)}, 2, 0, true},  // a page is 2
        {{K(Key::End), K(Key::PageUp)}, 9, 9, true},
        {{Letter(U'c')}, 1, 0, true},
        {{K(Key::Up)}, 0, 0, false},
    };
    for (const Case& c : cases) {
        RunWith(
            [](DialogHarness& h) {
                FillList(h, 12);
                h.Send(kList, LB_SETCURSEL, 0);
            },
            c.keys,
            [&](DialogHarness& h) {
                EXPECT_EQ(h.Send(kList, LB_GETCURSEL), c.selection);
                EXPECT_EQ(h.Send(kList, LB_GETTOPINDEX), c.top);
                EXPECT_EQ(h.CountOf({kList, LBN_SELCHANGE}) > 0, c.notified);
                const Spot row = h.Locate("Card" + std::to_string(c.selection + 1) + " ");
                EXPECT_EQ(h.screen.RoleAt(row.x, row.y), CellRole::SelectionFocused);
                EXPECT_EQ(h.screen.Cursor().y, row.y);
            });
    }
}

TEST(ComboBoxMessages, SortedInsertionAndSelection) {
    RunWith(
        [](DialogHarness& h) {
            EXPECT_EQ(h.Send(kSorted, CB_ADDSTRING, 0, "200"), 0);
            EXPECT_EQ(h.Send(kSorted, CB_ADDSTRING, 0, "1A0"), 0);
            EXPECT_EQ(h.Send(kSorted, CB_ADDSTRING, 0, "3F0"), 2);
            EXPECT_EQ(h.Send(kSorted, CB_ADDSTRING, 0, "190"), 0);
            FillCombo(h, {"2", "3", "4", "5", "7", "10", "11", "12", "15"});
        },
        {},
        [](DialogHarness& h) {
            std::vector<char> buffer(8, '\0');
            EXPECT_EQ(h.Send(kSorted, CB_GETLBTEXT, 1, buffer.data()), 3);
            EXPECT_STREQ(buffer.data(), "1A0");
            EXPECT_EQ(h.Send(kCombo, CB_GETCURSEL), CB_ERR);
            EXPECT_EQ(h.Send(kCombo, CB_SETCURSEL, 3), 3);
            EXPECT_EQ(TextOf(h.Item(kCombo)), "5");
            EXPECT_EQ(h.Send(kCombo, CB_SETCURSEL, kFromStart), CB_ERR);
            EXPECT_EQ(TextOf(h.Item(kCombo)), "");
            EXPECT_EQ(h.Send(kCombo, CB_SELECTSTRING, kFromStart, "1"), 5);
            EXPECT_EQ(h.Send(kCombo, CB_FINDSTRING, 5, "1"), 6);
            EXPECT_EQ(h.Send(kCombo, CB_GETCURSEL), 5);
            EXPECT_EQ(SetDlgItemTextA(h.last, kCombo, "12"), TRUE);
            EXPECT_EQ(h.Send(kCombo, CB_GETCURSEL), 7);
            EXPECT_EQ(SetDlgItemTextA(h.last, kCombo, "13"), FALSE);
        });
}

TEST(ComboBoxKeys, ChangeTheSelectionAndLeaveTheDialogOpen) {
    struct Case {
        std::vector<KeyEvent> keys;
        LRESULT selection;
        int selChanges;  // -1: not counted
    };
    const std::vector<Case> cases = {
        {{K(Key::Down), K(Key::Down), K(Key::Up)}, 4, 3},     // while closed
        {{Letter(U'l'), Letter(U'c'), Letter(U'c')}, 7, -1},  // first letter, wrapping
        {{K(Key::F4), K(Key::Down), K(Key::Escape)}, 3, -1},  // Escape only closes the list
        {{K(Key::Down, true), K(Key::Down), K(Key::Down), K(Key::Enter)}, 5, -1},  // Enter keeps
    };
    for (const Case& c : cases) {
        RunWith(
            [](DialogHarness& h) {
                FillCombo(h, {"2", "3", "4", "5", "7", "10", "COM1", "COM2", "LPT1"});
                h.Send(kCombo, CB_SETCURSEL, 3);
                SetFocus(h.Item(kCombo));
            },
            c.keys,
            [&](DialogHarness& h) {
                EXPECT_EQ(h.Send(kCombo, CB_GETCURSEL), c.selection);
                EXPECT_FALSE(h.Send(kCombo, CB_GETDROPPEDSTATE));
                EXPECT_FALSE(h.Sent(IDOK) || h.Sent(IDCANCEL));
                if (c.selChanges >= 0) {
                    EXPECT_EQ(h.CountOf({kCombo, CBN_SELCHANGE}), c.selChanges);
                }
            });
    }
}

}  // namespace
}  // namespace zov::test
