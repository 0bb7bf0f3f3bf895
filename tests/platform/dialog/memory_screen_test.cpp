// The in-memory screen the dialog tests drive: its golden text. (Running dry and the order of
// callbacks are checked by every dialog test through the harness.)
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace zov::test {
namespace {

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
