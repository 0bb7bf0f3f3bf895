#include "app_scenario.h"

#include <algorithm>
#include <cstdlib>

#include "platform/framework/afx_win_main.h"
#include "platform/registry/registry_database.h"
#include "store/card_globals.h"
#include "ui/res/resource.h"
#include "ui/res/zovcfg_resources.h"

namespace zov::test {

bool FindCloseBox(const MemoryTerminal& screen, const std::string& caption, int* x, int* y) {
    if (!screen.Find(caption, x, y)) {
        return false;
    }
    for (int cx = *x + 1; cx < screen.Width(); ++cx) {
        if (screen.RoleAt(cx, *y) == CellRole::CloseBox) {
            *x = cx;
            return true;
        }
    }
    return false;
}

int AppScenario::RunApp() {
    char name[] = "zovcfg";
    char* argv[] = {name, nullptr};
    const int exitCode = AfxWinMainOnTerminal(screen, 1, argv, ZovcfgInstance());
    EXPECT_FALSE(screen.RanDry()) << "the utility was still waiting for input:\n" << screen.Text();
    // Input left over means a queued key or check never ran.
    EXPECT_EQ(screen.PendingEvents(), 0) << "the utility ended before all input was used:\n"
                                         << screen.Text();
    return exitCode;
}

void AppScenario::ExpectCardList(const Rows& rows, int selected, const std::string& buttons) {
    Check([=] {
        ASSERT_EQ(Caption(), " Tarnell ZOV Cards");
        EXPECT_EQ(ListRows(IDC_CARD_LIST), rows);
        EXPECT_EQ(ListSelection(IDC_CARD_LIST), selected);
        if (!buttons.empty()) {
            EXPECT_EQ(EnabledButtons(), buttons);
        }
    });
}

std::string AppScenario::EnabledButtons() {
    return {Enabled(IDC_PROPERTIES) ? 'P' : '-', Enabled(IDC_ADD) ? 'A' : '-',
            Enabled(IDC_REMOVE) ? 'R' : '-'};
}

std::string AppScenario::LayoutOf(const std::string& cards) {
    const std::string database = DatabasePath();
    setenv("ZOVCFG_REGISTRY", PathInDir("expected.db").c_str(), 1);
    CloseRegistryDatabase();
    Build(cards);
    std::string layout = Parameters();
    CloseRegistryDatabase();
    setenv("ZOVCFG_REGISTRY", database.c_str(), 1);
    return layout;
}

namespace {

// The text of one row of a list box or a combo box, fetched with the box's own two messages.
std::string ItemText(int controlId, UINT lengthMessage, UINT textMessage, LRESULT index) {
    const auto item = static_cast<WPARAM>(index);
    const auto length = SendDlgItemMessageA(GetActiveWindow(), controlId, lengthMessage, item, 0);
    std::string text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
    SendDlgItemMessageA(GetActiveWindow(), controlId, textMessage, item,
                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(text.size() - 1);
    return text;
}

}  // namespace

std::vector<std::string> AppScenario::ListRows(int controlId) {
    std::vector<std::string> rows;
    const auto count = SendDlgItemMessageA(Front(), controlId, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        rows.push_back(ItemText(controlId, LB_GETTEXTLEN, LB_GETTEXT, i));
    }
    return rows;
}

std::string AppScenario::ComboText(int controlId) {
    const auto selected = SendDlgItemMessageA(Front(), controlId, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? std::string()
                              : ItemText(controlId, CB_GETLBTEXTLEN, CB_GETLBTEXT, selected);
}

std::string AppScenario::ControlText(int controlId) {
    HWND window = controlId == 0 ? Front() : GetDlgItem(Front(), controlId);
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

bool AppScenario::Shows(const std::string& text) const {
    int x = 0;
    int y = 0;
    return screen.Find(text, &x, &y);
}

}  // namespace zov::test
