// Ending a dialog: Escape, Enter with and without a default or focused push button, the close
// box, the end of input, and the modal loop's failures.
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace zov::test {
namespace {

constexpr int kDialog = 100;
constexpr int kApply = 1005;

DialogTemplate OkCancelDialog(DWORD extra = 0) {
    return DialogOf(
        kDialog, "Buttons", 160, 60,
        {PushButtonAt(IDOK, "&OK", 20, 40, BS_DEFPUSHBUTTON),
         PushButtonAt(IDCANCEL, "&Cancel", 90, 40), PushButtonAt(kApply, "&Apply", 20, 15)},
        extra);
}

TEST(EnterAndEscape, EndTheDialogThroughTheRightButton) {
    // A list with the focus, the given button, and Cancel.
    const auto listAnd = [](const ControlTemplate& button) {
        return DialogOf(
            kDialog, "L", 200, 90,
            {ListAt(1000, 10, 10, 100, 60), button, PushButtonAt(IDCANCEL, "Cancel", 130, 30)});
    };
    struct Case {
        DialogTemplate dialog;
        std::vector<Key> keys;
        INT_PTR result;  // also the one button clicked
    };
    const std::vector<Case> cases = {
        {OkCancelDialog(), {Key::Escape}, IDCANCEL},
        {OkCancelDialog(), {Key::Tab, Key::Tab, Key::Enter}, kApply},  // the focused
        // Enter on a list presses the default button, IDOK without one, nothing if it is disabled.
        {listAnd(PushButtonAt(kApply, "&Apply", 130, 10, BS_DEFPUSHBUTTON)), {Key::Enter}, kApply},
        {listAnd(StaticAt("x", 130, 60, 10, 8)), {Key::Enter}, IDOK},
        {listAnd(PushButtonAt(IDOK, "&Done", 130, 10, BS_DEFPUSHBUTTON | WS_DISABLED)),
         {Key::Enter, Key::Escape},
         IDCANCEL},
    };
    for (std::size_t row = 0; row < cases.size(); ++row) {
        SCOPED_TRACE(row);
        DialogHarness h;
        h.Add(cases[row].dialog);
        h.onCommand[kApply] = [](HWND dialog) { EndDialog(dialog, kApply); };
        for (Key key : cases[row].keys) {
            h.screen.PushKey(key);
        }
        EXPECT_EQ(h.Run(kDialog), cases[row].result);
        EXPECT_FALSE(h.screen.RanDry());
        const Command click{static_cast<int>(cases[row].result), BN_CLICKED};
        EXPECT_EQ(h.commands, std::vector<Command>{click});
    }
}

TEST(EnterAndEscape, HangupCancelsEvenADialogThatIgnoresCancel) {
    DialogHarness h;
    h.Add(OkCancelDialog());
    h.onCommand[IDCANCEL] = [](HWND) {};                           // refuses to end
    h.screen.PushCallback([&] { EXPECT_FALSE(h.Shows("[×]")); });  // no system menu, no box
    EXPECT_EQ(h.Run(kDialog), IDCANCEL);
    EXPECT_TRUE(h.screen.RanDry());
}

TEST(EnterAndEscape, CloseBoxSendsSysCommandCloseThenCancel) {
    DialogHarness h;
    h.Add(OkCancelDialog(WS_SYSMENU));
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
    EXPECT_EQ(h.Run(kDialog), IDCANCEL);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_COMMAND}));
}

TEST(ModalLoop, TemplatesAreFoundByNumberOnly) {
    DialogHarness h;
    h.Add(OkCancelDialog());
    SetLastError(0);
    EXPECT_EQ(h.Run(4242), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kDialog), nullptr, nullptr, 0), -1);
    EXPECT_EQ(DialogBoxParamA(h.Module(), "Buttons", nullptr, &DialogHarness::Proc, 0), -1);
    h.screen.PushKey(Key::Escape);
    EXPECT_EQ(DialogBoxParamA(h.Module(), "#100", nullptr, &DialogHarness::Proc, 0), IDCANCEL);
}

TEST(ModalLoop, EndDialogDuringInitEndsWithoutShowing) {
    DialogHarness h;
    h.Add(OkCancelDialog());
    h.onInit = [](HWND dialog) -> INT_PTR { return EndDialog(dialog, 9); };
    EXPECT_EQ(h.Run(kDialog), 9);
    EXPECT_EQ(h.screen.PresentCount(), 0);
    EXPECT_FALSE(h.screen.RanDry());
}

TEST(ModalLoop, InitGetsItsParamAndFocusAndEndedOrGarbageHandlesFailCleanly) {
    DialogHarness h;
    h.Add(OkCancelDialog());
    HWND okButton = nullptr;
    h.screen.PushCallback([&] { okButton = h.Item(IDOK); });
    h.screen.PushKey(Key::Escape);
    h.Run(kDialog, nullptr, 0x1234);
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
