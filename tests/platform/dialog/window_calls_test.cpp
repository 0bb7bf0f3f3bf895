// The remaining window calls: init data, icons, captions, paint stand-ins; and the in-memory
// screen the tests drive.
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace zov::test {
namespace {

constexpr int kDialog = 130;

TEST(WindowCalls, DialogInitDataFillsTheListsInResourceOrder) {
    DialogHarness h;
    ResourceModule module;
    module.dialogs.push_back(
        DialogOf(kDialog, "Init", 200, 80,
                 {ComboAt(1008, 10, 10, 48, 69, CBS_SORT), ComboAt(1014, 10, 30, 48, 48)}));
    module.dialogInit.push_back({kDialog,
                                 {{1008, CB_ADDSTRING, "200"},
                                  {1008, CB_ADDSTRING, "1A0"},
                                  {1014, CB_ADDSTRING, "5"},
                                  {1014, CB_ADDSTRING, "2"}}});
    h.onInit = [&](HWND dialog) -> INT_PTR {
        EXPECT_EQ(SendDlgItemMessageA(dialog, 1008, CB_GETCOUNT, 0, 0), 0);  // not by itself
        EXPECT_TRUE(ExecuteDialogInit(dialog, &module, MAKEINTRESOURCEA(kDialog)));
        EXPECT_TRUE(ExecuteDialogInit(dialog, &module, MAKEINTRESOURCEA(999)));  // no data
        EXPECT_FALSE(
            ExecuteDialogInit(GetDlgItem(dialog, 1008), &module, MAKEINTRESOURCEA(kDialog)));
        std::vector<char> text(8, '\0');
        h.Send(1008, CB_GETLBTEXT, 0, text.data());
        EXPECT_STREQ(text.data(), "1A0");  // sorted
        h.Send(1014, CB_GETLBTEXT, 0, text.data());
        EXPECT_STREQ(text.data(), "5");  // as they came
        return TRUE;
    };
    h.screen.PushKey(Key::Escape);
    EXPECT_EQ(DialogBoxParamA(&module, MAKEINTRESOURCEA(kDialog), nullptr, &DialogHarness::Proc, 0),
              IDCANCEL);
}

TEST(WindowCalls, IconsCaptionsAndPaint) {
    DialogHarness h;
    h.Add(DialogOf(kDialog, "", 200, 60, {PushButtonAt(IDOK, "OK", 10, 30)}, WS_SYSMENU));
    ResourceModule icons;
    icons.icons.push_back(IconImage{});
    icons.icons.back().id = 128;
    HICON icon = LoadIconA(&icons, MAKEINTRESOURCEA(128));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(&icons, MAKEINTRESOURCEA(129)), nullptr);
    h.onInit = [&](HWND dialog) -> INT_PTR {
        EXPECT_EQ(SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon)), 0);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0)), icon);
        EXPECT_TRUE(SetWindowTextA(dialog, "Removing Card3"));
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(dialog, &paint);
        EXPECT_NE(dc, nullptr);
        EXPECT_TRUE(DrawIcon(dc, 0, 0, icon));
        EXPECT_FALSE(DrawIcon(dc, 0, 0, nullptr));
        EXPECT_TRUE(EndPaint(dialog, &paint));
        return TRUE;
    };
    h.RunChecking(kDialog, {}, [&] { EXPECT_TRUE(h.Shows("Removing Card3")); });
    EXPECT_NE(std::find(h.messages.begin(), h.messages.end(), static_cast<UINT>(WM_PAINT)),
              h.messages.end());
}

TEST(MemoryScreen, RunsDryIntoHangupAndRunsCallbacksInOrder) {
    MemoryTerminal screen(20, 5);
    std::vector<int> order;
    screen.PushCallback([&] { order.push_back(1); });
    screen.PushKey(Key::Tab);
    screen.PushCallback([&] { order.push_back(2); });
    EXPECT_EQ(screen.WaitEvent().key.key, Key::Tab);
    EXPECT_EQ(order, std::vector<int>{1});
    EXPECT_FALSE(screen.RanDry());
    EXPECT_EQ(screen.WaitEvent().type, Event::Type::Hangup);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_TRUE(screen.RanDry());
    EXPECT_EQ(screen.WaitEvent().type, Event::Type::Hangup);
}

TEST(MemoryScreen, GoldenMarksTheRolesAReaderCaresAbout) {
    MemoryTerminal screen(6, 2);
    CellGrid grid(6, 2);
    const CellRole roles[] = {CellRole::ButtonFocused, CellRole::ButtonDefault,
                              CellRole::Disabled,      CellRole::SelectionFocused,
                              CellRole::Selection,     CellRole::Window};
    for (int x = 0; x < 6; ++x) {
        grid.At(x, 0) = Cell{static_cast<char32_t>(U'a' + x), roles[x], false};
    }
    grid.At(0, 1) = Cell{U'─', CellRole::Frame, true};
    screen.Present(grid, CursorPosition{true, 2, 1});
    EXPECT_EQ(screen.Golden(), "abcdef\n─\n--\nFD-Ss\n_\n");
    EXPECT_EQ(screen.Cursor().x, 2);
    int x = -1;
    int y = -1;
    EXPECT_TRUE(screen.Find("─", &x, &y));
    EXPECT_EQ(y, 1);
    EXPECT_FALSE(screen.Find("ab─", nullptr, nullptr));
}

}  // namespace
}  // namespace zov::test
