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

DialogTemplate ListAndCombos() {
    return DialogOf(kDialog, "Lists", 300, 120,
                    {ListAt(kList, 10, 10, 214, 40, LBS_NOTIFY | LBS_USETABSTOPS),
                     ComboAt(kCombo, 240, 10, 48, 48), ComboAt(kSorted, 240, 40, 48, 69, CBS_SORT),
                     PushButtonAt(IDOK, "OK", 10, 90, BS_DEFPUSHBUTTON),
                     PushButtonAt(IDCANCEL, "Cancel", 100, 90)});
}

LRESULT Send(HWND dialog, int id, UINT msg, WPARAM wParam, const char* text) {
    return SendDlgItemMessageA(dialog, id, msg, wParam, reinterpret_cast<LPARAM>(text));
}

void FillList(HWND dialog, int rows) {
    for (int i = 1; i <= rows; ++i) {
        const std::string row = "Card" + std::to_string(i) + "\tISA\t8\tCOM" + std::to_string(i);
        Send(dialog, kList, LB_ADDSTRING, 0, row.c_str());
    }
}

void FillIrq(HWND dialog) {
    for (const char* irq : {"2", "3", "4", "5", "7", "10", "11", "12", "15"}) {
        Send(dialog, kCombo, CB_ADDSTRING, 0, irq);
    }
}

// Runs the dialog; check runs inside its loop after init and the keys.
void RunWith(const std::function<void(HWND)>& init, const std::vector<KeyEvent>& keys,
             const std::function<void(HWND, DialogHarness&)>& check) {
    DialogHarness h;
    h.Add(ListAndCombos());
    h.onInit = [&](HWND dialog) -> INT_PTR {
        init(dialog);
        // An init that chose the focus answers FALSE, or the dialog manager moves it.
        return GetFocus() == nullptr ? TRUE : FALSE;
    };
    for (const KeyEvent& key : keys) {
        h.screen.PushEvent(Event::FromKey(key));
    }
    h.screen.PushCallback([&] { check(h.last, h); });
    h.screen.PushKey(Key::Escape);
    h.screen.PushKey(Key::Escape);
    h.Run(kDialog);
    EXPECT_FALSE(h.screen.RanDry());
}

KeyEvent K(Key key, bool alt = false) {
    KeyEvent k;
    k.key = key;
    k.alt = alt;
    return k;
}

KeyEvent Letter(char32_t ch) {
    KeyEvent k;
    k.ch = ch;
    return k;
}

TEST(ListBoxMessages, SelectStringStartsAfterTheIndexAndWraps) {
    RunWith([](HWND d) { FillList(d, 10); }, {},
            [](HWND d, DialogHarness&) {
                // From index 0 the search meets Card10 (index 9) before wrapping to Card1.
                EXPECT_EQ(Send(d, kList, LB_SELECTSTRING, 0, "card1"), 9);
                EXPECT_EQ(Send(d, kList, LB_SELECTSTRING, static_cast<WPARAM>(-1), "CARD1"), 0);
                EXPECT_EQ(Send(d, kList, LB_GETCURSEL, 0, nullptr), 0);
                EXPECT_EQ(Send(d, kList, LB_SELECTSTRING, 0, "Card7"), 6);
                EXPECT_EQ(Send(d, kList, LB_SELECTSTRING, 0, "PCI"), LB_ERR);
                EXPECT_EQ(Send(d, kList, LB_GETCURSEL, 0, nullptr), 6);
                EXPECT_EQ(Send(d, kList, LB_FINDSTRING, static_cast<WPARAM>(-1), "card2"), 1);
            });
}

TEST(ListBoxMessages, ErrorsAreWindowsResults) {
    RunWith([](HWND d) { FillList(d, 2); }, {},
            [](HWND d, DialogHarness&) {
                EXPECT_EQ(Send(d, kList, LB_GETCOUNT, 0, nullptr), 2);
                EXPECT_EQ(Send(d, kList, LB_SETCURSEL, 5, nullptr), LB_ERR);
                EXPECT_EQ(Send(d, kList, LB_SETCURSEL, 1, nullptr), 1);
                EXPECT_EQ(Send(d, kList, LB_SETCURSEL, static_cast<WPARAM>(-1), nullptr), LB_ERR);
                EXPECT_EQ(Send(d, kList, LB_GETCURSEL, 0, nullptr), LB_ERR);
                EXPECT_EQ(Send(d, kList, LB_GETTEXTLEN, 2, nullptr), LB_ERR);
                EXPECT_EQ(Send(d, kList, LB_GETTEXTLEN, 1, nullptr), 16);
                std::vector<char> buffer(18, 'x');
                EXPECT_EQ(SendDlgItemMessageA(d, kList, LB_GETTEXT, 1,
                                              reinterpret_cast<LPARAM>(buffer.data())),
                          16);
                EXPECT_STREQ(buffer.data(), "Card2\tISA\t8\tCOM2");
                EXPECT_EQ(Send(d, kList, LB_GETTEXT, 7, buffer.data()), LB_ERR);
                Send(d, kList, LB_RESETCONTENT, 0, nullptr);
                EXPECT_EQ(Send(d, kList, LB_GETCOUNT, 0, nullptr), 0);
                EXPECT_EQ(Send(d, kList, LB_SELECTSTRING, 0, "card1"), LB_ERR);
            });
}

TEST(ListBoxMessages, TabStopsSetTheColumnsInDialogUnits) {
    RunWith(
        [](HWND d) {
            const int stops[3] = {72, 125, 145};
            EXPECT_TRUE(
                SendDlgItemMessageA(d, kList, LB_SETTABSTOPS, 3, reinterpret_cast<LPARAM>(stops)));
            FillList(d, 1);
        },
        {},
        [](HWND, DialogHarness& h) {
            int cardX = 0;
            int cardY = 0;
            int isaX = 0;
            int isaY = 0;
            int comX = 0;
            int comY = 0;
            ASSERT_TRUE(h.screen.Find("Card1", &cardX, &cardY));
            ASSERT_TRUE(h.screen.Find("ISA", &isaX, &isaY));
            ASSERT_TRUE(h.screen.Find("COM1", &comX, &comY));
            EXPECT_EQ(isaY, cardY);
            // 72 and 145 dialog units from the list's left edge at x = 10.
            EXPECT_EQ(isaX - cardX, (10 + 72) / 4 - 10 / 4);
            EXPECT_EQ(comX - cardX, (10 + 145) / 4 - 10 / 4);
        });
}

TEST(ListBoxKeys, MoveTheSelectionAndNotify) {
    struct Case {
        std::vector<KeyEvent> keys;
        LRESULT selection;
        bool notified;
    };
    const std::vector<Case> cases = {
        {{K(Key::Down)}, 1, true},
        {{K(Key::Down), K(Key::Down), K(Key::Up)}, 1, true},
        {{K(Key::End)}, 11, true},
        {{K(Key::End), K(Key::Home)}, 0, true},
        {{K(Key::PageDown)}, 2, true},  // the list shows 3 rows: a page is 2
        {{K(Key::End), K(Key::PageUp)}, 9, true},
        {{Letter(U'c')}, 1, true},
        {{K(Key::Up)}, 0, false},
        {{K(Key::Home)}, 0, false},
    };
    for (const Case& c : cases) {
        RunWith(
            [](HWND d) {
                FillList(d, 12);
                Send(d, kList, LB_SETCURSEL, 0, nullptr);
            },
            c.keys,
            [&](HWND d, DialogHarness& h) {
                EXPECT_EQ(Send(d, kList, LB_GETCURSEL, 0, nullptr), c.selection);
                const bool notified = std::find(h.commands.begin(), h.commands.end(),
                                                Command{kList, LBN_SELCHANGE}) != h.commands.end();
                EXPECT_EQ(notified, c.notified);
            });
    }
}

TEST(ListBoxKeys, SelectedRowIsShownAndScrolledIntoView) {
    RunWith(
        [](HWND d) {
            FillList(d, 12);
            Send(d, kList, LB_SETCURSEL, 0, nullptr);
        },
        {K(Key::End)},
        [](HWND d, DialogHarness& h) {
            EXPECT_EQ(Send(d, kList, LB_GETTOPINDEX, 0, nullptr), 9);
            int x = 0;
            int y = 0;
            ASSERT_TRUE(h.screen.Find("Card12", &x, &y));
            EXPECT_EQ(h.screen.RoleAt(x, y), CellRole::SelectionFocused);
            EXPECT_FALSE(h.screen.Find("Card1 ", nullptr, nullptr));
            EXPECT_EQ(h.screen.Cursor().y, y);
        });
}

TEST(ComboBoxMessages, SortedInsertionAndSelection) {
    RunWith(
        [](HWND d) {
            EXPECT_EQ(Send(d, kSorted, CB_ADDSTRING, 0, "200"), 0);
            EXPECT_EQ(Send(d, kSorted, CB_ADDSTRING, 0, "1A0"), 0);
            EXPECT_EQ(Send(d, kSorted, CB_ADDSTRING, 0, "3F0"), 2);
            EXPECT_EQ(Send(d, kSorted, CB_ADDSTRING, 0, "190"), 0);
            FillIrq(d);
        },
        {},
        [](HWND d, DialogHarness&) {
            std::vector<char> buffer(8, '\0');
            EXPECT_EQ(Send(d, kSorted, CB_GETLBTEXT, 1, buffer.data()), 3);
            EXPECT_STREQ(buffer.data(), "1A0");
            EXPECT_EQ(Send(d, kSorted, CB_GETLBTEXTLEN, 9, nullptr), CB_ERR);
            EXPECT_EQ(Send(d, kCombo, CB_GETCOUNT, 0, nullptr), 9);
            EXPECT_EQ(Send(d, kCombo, CB_GETCURSEL, 0, nullptr), CB_ERR);
            EXPECT_EQ(Send(d, kCombo, CB_SETCURSEL, 3, nullptr), 3);
            EXPECT_EQ(TextOf(GetDlgItem(d, kCombo)), "5");
            EXPECT_EQ(Send(d, kCombo, CB_SETCURSEL, static_cast<WPARAM>(-1), nullptr), CB_ERR);
            EXPECT_EQ(Send(d, kCombo, CB_GETCURSEL, 0, nullptr), CB_ERR);
            EXPECT_EQ(TextOf(GetDlgItem(d, kCombo)), "");
            EXPECT_EQ(Send(d, kCombo, CB_SELECTSTRING, static_cast<WPARAM>(-1), "1"), 5);
            EXPECT_EQ(Send(d, kCombo, CB_FINDSTRING, 5, "1"), 6);
            EXPECT_EQ(Send(d, kCombo, CB_SELECTSTRING, static_cast<WPARAM>(-1), "9"), CB_ERR);
            EXPECT_EQ(Send(d, kCombo, CB_GETCURSEL, 0, nullptr), 5);
            EXPECT_EQ(SetDlgItemTextA(d, kCombo, "12"), TRUE);
            EXPECT_EQ(Send(d, kCombo, CB_GETCURSEL, 0, nullptr), 7);
            EXPECT_EQ(SetDlgItemTextA(d, kCombo, "13"), FALSE);
        });
}

TEST(ComboBoxKeys, ArrowsChangeTheSelectionWhileClosed) {
    RunWith(
        [](HWND d) {
            FillIrq(d);
            Send(d, kCombo, CB_SETCURSEL, 3, nullptr);
            SetFocus(GetDlgItem(d, kCombo));
        },
        {K(Key::Down), K(Key::Down), K(Key::Up)},
        [](HWND d, DialogHarness& h) {
            EXPECT_EQ(Send(d, kCombo, CB_GETCURSEL, 0, nullptr), 4);
            EXPECT_FALSE(Send(d, kCombo, CB_GETDROPPEDSTATE, 0, nullptr));
            EXPECT_EQ(
                std::count(h.commands.begin(), h.commands.end(), Command{kCombo, CBN_SELCHANGE}),
                3);
        });
}

TEST(ComboBoxKeys, LettersSelectByFirstLetter) {
    RunWith(
        [](HWND d) {
            for (const char* port : {"COM1", "COM2", "LPT1"}) {
                Send(d, kCombo, CB_ADDSTRING, 0, port);
            }
            SetFocus(GetDlgItem(d, kCombo));
        },
        {Letter(U'l'), Letter(U'c'), Letter(U'c')},
        [](HWND d, DialogHarness&) { EXPECT_EQ(Send(d, kCombo, CB_GETCURSEL, 0, nullptr), 1); });
}

TEST(ComboBoxKeys, F4OpensAndEscapeOnlyClosesRestoringTheSelection) {
    RunWith(
        [](HWND d) {
            FillIrq(d);
            Send(d, kCombo, CB_SETCURSEL, 3, nullptr);
            SetFocus(GetDlgItem(d, kCombo));
        },
        {K(Key::F4), K(Key::Down), K(Key::Escape)},
        [](HWND d, DialogHarness& h) {
            EXPECT_TRUE(IsWindow(d));  // Escape closed the list, not the dialog
            EXPECT_FALSE(Send(d, kCombo, CB_GETDROPPEDSTATE, 0, nullptr));
            EXPECT_EQ(Send(d, kCombo, CB_GETCURSEL, 0, nullptr), 3);
            for (const Command& command : h.commands) {
                EXPECT_NE(command.id, IDCANCEL);
            }
        });
}

TEST(ComboBoxKeys, AltDownOpensEnterKeepsTheChoiceAndDoesNotEndTheDialog) {
    RunWith(
        [](HWND d) {
            FillIrq(d);
            Send(d, kCombo, CB_SETCURSEL, 3, nullptr);
            SetFocus(GetDlgItem(d, kCombo));
        },
        {K(Key::Down, true), K(Key::Down), K(Key::Down), K(Key::Enter)},
        [](HWND d, DialogHarness& h) {
            EXPECT_FALSE(Send(d, kCombo, CB_GETDROPPEDSTATE, 0, nullptr));
            EXPECT_EQ(Send(d, kCombo, CB_GETCURSEL, 0, nullptr), 5);
            for (const Command& command : h.commands) {
                EXPECT_NE(command.id, IDOK);
            }
        });
}

TEST(ComboBoxKeys, OpenedListShowsItsRowsBelowTheField) {
    RunWith(
        [](HWND d) {
            FillIrq(d);
            Send(d, kCombo, CB_SETCURSEL, 0, nullptr);
            SetFocus(GetDlgItem(d, kCombo));
        },
        {K(Key::F4)},
        [](HWND d, DialogHarness& h) {
            EXPECT_TRUE(Send(d, kCombo, CB_GETDROPPEDSTATE, 0, nullptr));
            RECT field{};
            GetWindowRect(GetDlgItem(d, kCombo), &field);
            // Template height 48: a 12-unit field and 36 units of list, 4 rows.
            for (const char* row : {"2", "3", "4", "5"}) {
                int x = 0;
                int y = 0;
                ASSERT_TRUE(h.screen.Find(std::string("│") + row, &x, &y)) << row;
                EXPECT_GT(y, field.top);
            }
            EXPECT_FALSE(h.screen.Find("│7", nullptr, nullptr));
        });
}

TEST(EditControl, LimitSelectionAndReadOnly) {
    DialogHarness h;
    h.Add(DialogOf(kDialog, "Edit", 200, 60,
                   {EditAt(1017, 10, 10, 60, 14, ES_READONLY),
                    PushButtonAt(IDOK, "OK", 10, 35, BS_DEFPUSHBUTTON)}));
    h.onInit = [](HWND d) -> INT_PTR {
        EXPECT_EQ(SendDlgItemMessageA(d, 1017, EM_GETLIMITTEXT, 0, 0), 30000);
        SendDlgItemMessageA(d, 1017, EM_LIMITTEXT, 8, 0);
        EXPECT_EQ(SendDlgItemMessageA(d, 1017, EM_GETLIMITTEXT, 0, 0), 8);
        // Text set by the program is not limited.
        SetDlgItemTextA(d, 1017, "0x12345678");
        EXPECT_EQ(GetWindowTextLengthA(GetDlgItem(d, 1017)), 10);
        return TRUE;
    };
    h.screen.PushCallback([&] {
        SetFocus(GetDlgItem(h.last, 1017));
        SendDlgItemMessageA(h.last, 1017, EM_SETSEL, 0, -1);
        DWORD start = 99;
        DWORD end = 99;
        SendDlgItemMessageA(h.last, 1017, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                            reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 10u);
    });
    h.screen.PushText("zz");  // read-only: typing changes nothing
    h.screen.PushCallback([&] {
        EXPECT_EQ(TextOf(GetDlgItem(h.last, 1017)), "0x12345678");
        int x = 0;
        int y = 0;
        ASSERT_TRUE(h.screen.Find("0x1234", &x, &y));
        EXPECT_EQ(h.screen.RoleAt(x, y), CellRole::SelectionFocused);
    });
    h.screen.PushKey(Key::Escape);
    h.Run(kDialog);
    EXPECT_FALSE(h.screen.RanDry());
}

}  // namespace
}  // namespace zov::test
