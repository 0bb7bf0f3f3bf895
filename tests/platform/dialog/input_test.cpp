// Input in a dialog, and how a dialog ends.
// Focus: Tab order over tab stops, radio groups entered on their checked button, arrows within a
// group selecting automatic radio buttons, and disabled controls skipped.
// '&' mnemonics: Alt+letter anywhere, the plain letter where the focused control does not take
// letters, and labels that hand the focus on. (Their underlines: the golden screens of the
// utility's templates, tests/ui/res.)
// The mouse: a press focuses and selects, a push button fires when released over it, the wheel
// scrolls lists, opened lists take their clicks, clicks outside the dialog do nothing.
// Ending: Escape, Enter with and without a default or focused push button, the close box, the end
// of input, and the modal loop's failures.
#include <gtest/gtest.h>

#include <utility>

#include "dialog_harness.h"

namespace zov::test {
namespace {

constexpr int kButtons = 100;
constexpr int kMouse = 50;
constexpr int kApply = 1005;
constexpr int kList = 1000;
constexpr int kCombo = 1014;

DialogTemplate OkCancelDialog(DWORD extra = 0) {
    return DialogOf(
        kButtons, "Buttons", 160, 60,
        {PushButtonAt(IDOK, "&OK", 20, 40, BS_DEFPUSHBUTTON),
         PushButtonAt(IDCANCEL, "&Cancel", 90, 40), PushButtonAt(kApply, "&Apply", 20, 15)},
        extra);
}

void AddSettings(DialogHarness& h) {
    h.Add(CardSettingsTemplate());
    h.onInit = [](HWND dialog) -> INT_PTR {
        CheckRadioButton(dialog, IDC_PORTS_4, IDC_PORTS_16, IDC_PORTS_8);
        CheckRadioButton(dialog, IDC_BUS_ISA, IDC_BUS_PCI, IDC_BUS_ISA);
        return TRUE;
    };
}

// The card list with Remove disabled, two cards, and a bus group whose PCI button is checked.
void AddCardList(DialogHarness& h) {
    DialogTemplate card_list = CardListTemplate();
    card_list.cy = 150;
    card_list.controls[5].style |= WS_DISABLED;  // Remove
    card_list.controls.push_back(GroupBoxAt("&Bus", 20, 115, 100, 30));
    card_list.controls.push_back(RadioAt(IDC_BUS_ISA, "ISA", 30, 125, 30, WS_GROUP | WS_TABSTOP));
    card_list.controls.push_back(RadioAt(IDC_BUS_PCI, "PCI", 70, 125, 30));
    h.Add(card_list);
    h.onInit = [&h](HWND dialog) -> INT_PTR {
        h.Send(IDC_CARD_LIST, LB_ADDSTRING, 0, "Card1");
        h.Send(IDC_CARD_LIST, LB_ADDSTRING, 0, "Pci");
        CheckRadioButton(dialog, IDC_BUS_ISA, IDC_BUS_PCI, IDC_BUS_PCI);
        return TRUE;
    };
    h.onCommand[IDC_PROPERTIES] = [](HWND dialog) { EndDialog(dialog, IDC_PROPERTIES); };
    h.onCommand[IDC_ADD] = [](HWND dialog) { EndDialog(dialog, IDC_ADD); };
}

void AddMouseDialog(DialogHarness& h) {
    h.Add(DialogOf(kMouse, "Mouse", 300, 120,
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

TEST(TabOrder, KeysMoveTheFocusAndArrowsCheckTheRadioButtonTheyReach) {
    struct Case {
        std::size_t tabs;
        std::vector<KeyEvent> then;
        int focus;
        int ports;  // the checked button of each group afterwards
        int bus;
    };
    const std::vector<Case> cases = {
        {0, {}, IDC_BASE_ADDRESS, IDC_PORTS_8, IDC_BUS_ISA},         // the first tab stop
        {3, {}, IDC_PORTS_8, IDC_PORTS_8, IDC_BUS_ISA},              // a group's checked button
        {4, {}, IDC_BUS_ISA, IDC_PORTS_8, IDC_BUS_ISA},              // the next group's
        {5, {}, IDOK, IDC_PORTS_8, IDC_BUS_ISA},                     // then the buttons
        {7, {}, IDC_BASE_ADDRESS, IDC_PORTS_8, IDC_BUS_ISA},         // wraps to the first
        {0, {K(Key::BackTab)}, IDCANCEL, IDC_PORTS_8, IDC_BUS_ISA},  // and back to the last
        {3, {K(Key::Down)}, IDC_PORTS_16, IDC_PORTS_16, IDC_BUS_ISA},
        // Down from the last button of a group wraps to its first.
        {3, {K(Key::Down), K(Key::Down)}, IDC_PORTS_4, IDC_PORTS_4, IDC_BUS_ISA},
        {4, {K(Key::Right)}, IDC_BUS_PCI, IDC_PORTS_8, IDC_BUS_PCI},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases.data());  // the row number
        DialogHarness h;
        AddSettings(h);
        h.Push(std::vector<KeyEvent>(c.tabs, K(Key::Tab)));
        h.RunChecking(IDD_CARD_SETTINGS, c.then, [&] {
            EXPECT_EQ(FocusId(), c.focus);
            for (int id : {IDC_PORTS_4, IDC_PORTS_8, IDC_PORTS_16, IDC_BUS_ISA, IDC_BUS_PCI}) {
                const bool checked = id == c.ports || id == c.bus;
                EXPECT_EQ(IsDlgButtonChecked(h.last, id), checked ? BST_CHECKED : BST_UNCHECKED)
                    << id;
            }
        });
        // A radio button checked by an arrow notifies its dialog.
        EXPECT_EQ(h.CountOf({c.ports, BN_CLICKED}) > 0, c.ports != IDC_PORTS_8);
        EXPECT_EQ(h.CountOf({c.bus, BN_CLICKED}) > 0, c.bus != IDC_BUS_ISA);
    }
}

TEST(DisabledControls, AreDimmedSkippedByTabAndIgnoreClicks) {
    DialogHarness h;
    AddSettings(h);
    h.screen.PushCallback([&] { EnableWindow(h.Item(IDOK), FALSE); });
    h.RunChecking(IDD_CARD_SETTINGS, {K(Key::BackTab), K(Key::BackTab)}, [&] {
        EXPECT_EQ(FocusId(), IDC_BUS_ISA);  // Cancel, then past Done
        const Spot done = h.Locate("Done");
        EXPECT_EQ(h.screen.RoleAt(done.x, done.y), CellRole::Disabled);
        h.screen.PushClick(done.x, done.y);
    });
    EXPECT_FALSE(h.Sent(IDOK));
}

TEST(DisabledControls, DisablingTheFocusedControlMovesTheFocusOn) {
    DialogHarness h;
    AddSettings(h);
    int focus = 0;
    h.screen.PushCallback([&] {
        EXPECT_EQ(FocusId(), IDC_BASE_ADDRESS);
        EXPECT_FALSE(EnableWindow(h.Item(IDC_BASE_ADDRESS), FALSE));  // was enabled
        focus = FocusId();
        // A disabled control takes no focus.
        EXPECT_EQ(SetFocus(h.Item(IDC_BASE_ADDRESS)), nullptr);
        EXPECT_TRUE(EnableWindow(h.Item(IDC_BASE_ADDRESS), TRUE));  // was disabled
        EXPECT_EQ(SetFocus(h.Item(IDCANCEL)), h.Item(IDC_IRQ));
    });
    h.screen.PushKey(Key::Enter);  // the focused Cancel button
    EXPECT_EQ(h.Run(IDD_CARD_SETTINGS), IDCANCEL);
    EXPECT_EQ(focus, IDC_IRQ);
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
        {{Letter(U'p', true)}, IDC_PROPERTIES, 0, LB_ERR},  // Alt+letter from the list
        {{Letter(U'p')}, IDCANCEL, IDC_CARD_LIST, 1},       // the list takes the plain letter
        {{tab, Letter(U'a')}, IDC_ADD, 0, LB_ERR},
        {{tab, Letter(U'z', true)}, IDCANCEL, IDC_CARD_LIST, LB_ERR},  // a label: the next control
        {{tab, Letter(U'b')}, IDCANCEL, IDC_BUS_PCI, LB_ERR},  // a group box: its checked button
        // A disabled button ignores its own.
        {{Letter(U'r', true)}, IDCANCEL, IDC_CARD_LIST, LB_ERR},
    };
    for (std::size_t row = 0; row < cases.size(); ++row) {
        SCOPED_TRACE(row);
        DialogHarness h;
        AddCardList(h);
        h.Push(cases[row].keys);
        std::pair<int, LRESULT> seen{0, LB_ERR};  // the focus and the list's selection
        h.screen.PushCallback([&] { seen = {FocusId(), h.Send(IDC_CARD_LIST, LB_GETCURSEL)}; });
        h.screen.PushKey(Key::Escape);
        EXPECT_EQ(h.Run(IDD_CARD_LIST), cases[row].result);
        EXPECT_EQ(seen, std::make_pair(cases[row].focus, cases[row].listSelection));
        EXPECT_FALSE(h.Sent(IDC_REMOVE));
    }
}

TEST(Mouse, PressOnARowFocusesTheListAndSelectsItAndTheWheelScrollsIt) {
    DialogHarness h;
    AddMouseDialog(h);
    h.RunChecking(kMouse, {K(Key::Tab)}, [&] {  // the focus away from the list first
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
    h.RunChecking(kMouse, {}, [&] {
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
    h.Run(kMouse);
    EXPECT_TRUE(picked);
    EXPECT_FALSE(h.screen.RanDry());
}

TEST(EnterAndEscape, EndTheDialogThroughTheRightButton) {
    // A list with the focus, the given button, and Cancel.
    const auto listAnd = [](const ControlTemplate& button) {
        return DialogOf(
            kButtons, "L", 200, 90,
            {ListAt(kList, 10, 10, 100, 60), button, PushButtonAt(IDCANCEL, "Cancel", 130, 30)});
    };
    struct Case {
        DialogTemplate dialog;
        std::vector<KeyEvent> keys;
        INT_PTR result;  // also the one button clicked
    };
    const KeyEvent enter = K(Key::Enter);
    const std::vector<Case> cases = {
        {OkCancelDialog(), {K(Key::Escape)}, IDCANCEL},
        {OkCancelDialog(), {K(Key::Tab), K(Key::Tab), enter}, kApply},  // the focused
        // Enter on a list presses the default button, IDOK without one, nothing if it is disabled.
        {listAnd(PushButtonAt(kApply, "&Apply", 130, 10, BS_DEFPUSHBUTTON)), {enter}, kApply},
        {listAnd(StaticAt("x", 130, 60, 10, 8)), {enter}, IDOK},
        {listAnd(PushButtonAt(IDOK, "&Done", 130, 10, BS_DEFPUSHBUTTON | WS_DISABLED)),
         {enter, K(Key::Escape)},
         IDCANCEL},
    };
    for (std::size_t row = 0; row < cases.size(); ++row) {
        SCOPED_TRACE(row);
        DialogHarness h(cases[row].dialog);
        h.onCommand[kApply] = [](HWND dialog) { EndDialog(dialog, kApply); };
        h.Push(cases[row].keys);
        EXPECT_EQ(h.Run(kButtons), cases[row].result);
        EXPECT_FALSE(h.screen.RanDry());
        const Command click{static_cast<int>(cases[row].result), BN_CLICKED};
        EXPECT_EQ(h.commands, std::vector<Command>{click});
    }
}

TEST(EnterAndEscape, HangupCancelsEvenADialogThatIgnoresCancel) {
    DialogHarness h(OkCancelDialog());
    h.onCommand[IDCANCEL] = [](HWND) {};                           // refuses to end
    h.screen.PushCallback([&] { EXPECT_FALSE(h.Shows("[×]")); });  // no system menu, no box
    EXPECT_EQ(h.Run(kButtons), IDCANCEL);
    EXPECT_TRUE(h.screen.RanDry());
}

TEST(EnterAndEscape, CloseBoxSendsSysCommandCloseThenCancel) {
    DialogHarness h(OkCancelDialog(WS_SYSMENU));
    std::vector<UINT> seen;
    h.onAnyMessage = [&](HWND, UINT msg, WPARAM wParam, LPARAM) {
        if ((msg == WM_SYSCOMMAND && wParam == SC_CLOSE) || msg == WM_CLOSE || msg == WM_COMMAND) {
            seen.push_back(msg);
        }
    };
    h.screen.PushCallback([&] {
        const Spot box = h.Locate("[×]");
        h.screen.PushClick(box.x + 1, box.y);
    });
    EXPECT_EQ(h.Run(kButtons), IDCANCEL);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_COMMAND}));
}

TEST(ModalLoop, TemplatesAreFoundByNumberOnly) {
    DialogHarness h(OkCancelDialog());
    SetLastError(0);
    EXPECT_EQ(h.Run(4242), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kButtons), nullptr, nullptr, 0), -1);
    EXPECT_EQ(DialogBoxParamA(h.Module(), "Buttons", nullptr, &DialogHarness::Proc, 0), -1);
    h.screen.PushKey(Key::Escape);
    EXPECT_EQ(DialogBoxParamA(h.Module(), "#100", nullptr, &DialogHarness::Proc, 0), IDCANCEL);
}

TEST(ModalLoop, EndDialogDuringInitEndsWithoutShowing) {
    DialogHarness h(OkCancelDialog());
    h.onInit = [](HWND dialog) -> INT_PTR { return EndDialog(dialog, 9); };
    EXPECT_EQ(h.Run(kButtons), 9);
    EXPECT_EQ(h.screen.PresentCount(), 0);
    EXPECT_FALSE(h.screen.RanDry());
}

TEST(ModalLoop, InitGetsItsParamAndFocusAndEndedOrGarbageHandlesFailCleanly) {
    DialogHarness h(OkCancelDialog());
    HWND okButton = nullptr;
    h.screen.PushCallback([&] { okButton = h.Item(IDOK); });
    h.screen.PushKey(Key::Escape);
    h.Run(kButtons, nullptr, 0x1234);
    EXPECT_EQ(h.initParams, std::vector<LPARAM>{0x1234});
    EXPECT_EQ(h.initFocusParams, std::vector<HWND>{okButton});  // the first tab stop
    int notAWindow = 0;
    for (HWND gone : {h.last, okButton, reinterpret_cast<HWND>(&notAWindow)}) {
        EXPECT_FALSE(IsWindow(gone));
        SetLastError(0);
        EXPECT_FALSE(EndDialog(gone, 1));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
        EXPECT_EQ(GetWindowLongA(gone, GWL_STYLE), 0);
        EXPECT_EQ(GetDlgItem(gone, IDOK), nullptr);
        EXPECT_EQ(MessageBoxA(gone, "x", "y", MB_OK), 0);
        EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(1), gone, nullptr, 0), -1);
    }
}

}  // namespace
}  // namespace zov::test
