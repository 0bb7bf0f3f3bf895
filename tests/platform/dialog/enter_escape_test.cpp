// Ending a dialog: Escape, Enter with and without a default or focused push button, the close
// box, and the end of input.
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace zov::test {
namespace {

constexpr int kDialog = 100;
constexpr int kApply = 1005;

DialogTemplate OkCancelDialog(DWORD okStyle, DWORD extra = 0) {
    return DialogOf(
        kDialog, "Buttons", 160, 60,
        {PushButtonAt(IDOK, "&OK", 20, 40, okStyle), PushButtonAt(IDCANCEL, "&Cancel", 90, 40),
         PushButtonAt(kApply, "&Apply", 20, 15)},
        extra);
}

TEST(EnterAndEscape, EscapeSendsCancelAndTheProcedureEndsTheDialog) {
    DialogHarness h;
    h.Add(OkCancelDialog(BS_DEFPUSHBUTTON));
    h.screen.PushKey(Key::Escape);
    EXPECT_EQ(h.Run(kDialog), IDCANCEL);
    EXPECT_FALSE(h.screen.RanDry());
    ASSERT_EQ(h.commands.size(), 1u);
    EXPECT_EQ(h.commands[0], (Command{IDCANCEL, BN_CLICKED}));
}

TEST(EnterAndEscape, EnterPressesTheFocusedPushButton) {
    DialogHarness h;
    h.Add(OkCancelDialog(BS_DEFPUSHBUTTON));
    h.onCommand[kApply] = [](HWND dialog) { EndDialog(dialog, 77); };
    h.screen.PushKey(Key::Tab);  // OK -> Cancel
    h.screen.PushKey(Key::Tab);  // Cancel -> Apply
    h.screen.PushKey(Key::Enter);
    EXPECT_EQ(h.Run(kDialog), 77);
}

TEST(EnterAndEscape, EnterOnANonButtonUsesTheDefaultPushButton) {
    DialogHarness h;
    h.Add(DialogOf(
        kDialog, "List", 200, 90,
        {ListAt(1000, 10, 10, 100, 60), PushButtonAt(kApply, "&Apply", 130, 10, BS_DEFPUSHBUTTON),
         PushButtonAt(IDCANCEL, "Cancel", 130, 30)}));
    h.onCommand[kApply] = [](HWND dialog) { EndDialog(dialog, kApply); };
    h.screen.PushKey(Key::Enter);
    EXPECT_EQ(h.Run(kDialog), kApply);
}

TEST(EnterAndEscape, EnterWithoutDefaultButtonSendsIdok) {
    DialogHarness h;
    h.Add(DialogOf(kDialog, "List", 200, 90,
                   {ListAt(1000, 10, 10, 100, 60), PushButtonAt(IDCANCEL, "&Close", 130, 10)}));
    h.screen.PushKey(Key::Enter);
    EXPECT_EQ(h.Run(kDialog), IDOK);
    ASSERT_FALSE(h.commands.empty());
    EXPECT_EQ(h.commands[0].id, IDOK);
}

TEST(EnterAndEscape, EnterDoesNothingWhenTheDefaultButtonIsDisabled) {
    DialogHarness h;
    h.Add(DialogOf(kDialog, "Disabled default", 200, 90,
                   {ListAt(1000, 10, 10, 100, 60),
                    PushButtonAt(IDOK, "&Done", 130, 10, BS_DEFPUSHBUTTON | WS_DISABLED),
                    PushButtonAt(IDCANCEL, "Cancel", 130, 30)}));
    h.screen.PushKey(Key::Enter);
    h.screen.PushKey(Key::Escape);
    EXPECT_EQ(h.Run(kDialog), IDCANCEL);
    ASSERT_EQ(h.commands.size(), 1u);
    EXPECT_EQ(h.commands[0].id, IDCANCEL);
}

TEST(EnterAndEscape, HangupCancelsEvenADialogThatIgnoresCancel) {
    DialogHarness h;
    h.Add(OkCancelDialog(BS_DEFPUSHBUTTON));
    h.onCommand[IDCANCEL] = [](HWND) {};  // refuses to end
    EXPECT_EQ(h.Run(kDialog), IDCANCEL);
    EXPECT_TRUE(h.screen.RanDry());
}

TEST(EnterAndEscape, CloseBoxSendsSysCommandCloseThenCancel) {
    DialogHarness h;
    h.Add(OkCancelDialog(BS_DEFPUSHBUTTON, WS_SYSMENU));
    std::vector<UINT> seen;
    h.onAnyMessage = [&](HWND, UINT msg, WPARAM wParam, LPARAM) {
        if (msg == WM_SYSCOMMAND && wParam == SC_CLOSE) {
            seen.push_back(msg);
        } else if (msg == WM_CLOSE || msg == WM_COMMAND) {
            seen.push_back(msg);
        }
    };
    h.screen.PushCallback([&] {
        int x = 0;
        int y = 0;
        ASSERT_TRUE(h.screen.Find("[×]", &x, &y));
        h.screen.PushClick(x + 1, y);
    });
    EXPECT_EQ(h.Run(kDialog), IDCANCEL);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_COMMAND}));
}

TEST(EnterAndEscape, NoCloseBoxWithoutSystemMenu) {
    DialogHarness h;
    h.Add(OkCancelDialog(BS_DEFPUSHBUTTON));
    h.screen.PushCallback([&] { EXPECT_FALSE(h.screen.Find("[×]", nullptr, nullptr)); });
    h.screen.PushKey(Key::Escape);
    EXPECT_EQ(h.Run(kDialog), IDCANCEL);
    EXPECT_TRUE(h.screen.Find("Buttons", nullptr, nullptr));
}

TEST(ModalLoop, UnknownTemplateFailsWithMinusOne) {
    DialogHarness h;
    SetLastError(0);
    EXPECT_EQ(h.Run(4242), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kDialog), nullptr, nullptr, 0), -1);
}

TEST(ModalLoop, TemplateNamedByNumberString) {
    DialogHarness h;
    h.Add(OkCancelDialog(BS_DEFPUSHBUTTON));
    h.screen.PushKey(Key::Escape);
    EXPECT_EQ(DialogBoxParamA(h.Module(), "#100", nullptr, &DialogHarness::Proc, 0), IDCANCEL);
    EXPECT_EQ(DialogBoxParamA(h.Module(), "Buttons", nullptr, &DialogHarness::Proc, 0), -1);
}

TEST(ModalLoop, InitDialogGetsTheInitParamAndTheFirstTabStop) {
    DialogHarness h;
    h.Add(OkCancelDialog(BS_DEFPUSHBUTTON));
    h.screen.PushKey(Key::Escape);
    h.Run(kDialog, nullptr, 0x1234);
    ASSERT_EQ(h.initParams.size(), 1u);
    EXPECT_EQ(h.initParams[0], 0x1234);
    ASSERT_EQ(h.initFocusParams.size(), 1u);
    EXPECT_NE(h.initFocusParams[0], nullptr);
}

TEST(ModalLoop, EndDialogDuringInitEndsWithoutShowing) {
    DialogHarness h;
    h.Add(OkCancelDialog(BS_DEFPUSHBUTTON));
    h.onInit = [](HWND dialog) -> INT_PTR {
        EndDialog(dialog, 9);
        return TRUE;
    };
    EXPECT_EQ(h.Run(kDialog), 9);
    EXPECT_EQ(h.screen.PresentCount(), 0);
    EXPECT_FALSE(h.screen.RanDry());
}

TEST(ModalLoop, WindowsAreGoneAfterTheDialogEnds) {
    DialogHarness h;
    h.Add(OkCancelDialog(BS_DEFPUSHBUTTON));
    HWND okButton = nullptr;
    h.onInit = [&](HWND dialog) -> INT_PTR {
        okButton = GetDlgItem(dialog, IDOK);
        return TRUE;
    };
    h.screen.PushKey(Key::Escape);
    h.Run(kDialog);
    ASSERT_NE(h.last, nullptr);
    EXPECT_FALSE(IsWindow(h.last));
    EXPECT_FALSE(IsWindow(okButton));
    SetLastError(0);
    EXPECT_FALSE(EndDialog(h.last, 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(SendMessageA(okButton, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(GetDlgItem(h.last, IDOK), nullptr);
}

TEST(ModalLoop, GarbageHandlesFailCleanly) {
    int notAWindow = 0;
    HWND garbage = reinterpret_cast<HWND>(&notAWindow);
    SetLastError(0);
    EXPECT_FALSE(IsWindow(garbage));
    EXPECT_FALSE(EnableWindow(garbage, FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(GetWindowLongA(garbage, GWL_STYLE), 0);
    EXPECT_EQ(SetFocus(garbage), nullptr);
    EXPECT_EQ(GetParent(garbage), nullptr);
    EXPECT_EQ(MessageBoxA(garbage, "x", "y", MB_OK), 0);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(1), garbage, nullptr, 0), -1);
}

}  // namespace
}  // namespace zov::test
