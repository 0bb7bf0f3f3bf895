// Scenario tests run the whole utility on a prepared registry, through the in-memory screen: the
// test queues keys, clicks and checks, runs the application, and reads back the exit code.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "card_store_test.h"
#include "platform/framework/afx_win_main.h"
#include "platform/security/credentials.h"
#include "platform/terminal/memory_terminal.h"
#include "store/card_globals.h"
#include "ui/res/resource.h"
#include "ui/res/zovcfg_resources.h"

namespace zov::test {

// Finds the close box on the screen line of the caption, right of it; false when there is none.
inline bool FindCloseBox(const MemoryTerminal& screen, const std::string& caption, int* x, int* y) {
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

using Rows = std::vector<std::string>;

class AppScenario : public CardStoreTest {
  protected:
    // Runs the utility until its card list closes; returns the exit code. Fails the test when
    // the queued input ran out before the utility ended.
    int RunApp() {
        char name[] = "zovcfg";
        char* argv[] = {name, nullptr};
        const int exitCode = AfxWinMainOnTerminal(screen, 1, argv, ZovcfgInstance());
        EXPECT_FALSE(screen.RanDry()) << "the utility was still waiting for input:\n"
                                      << screen.Text();
        // Input left over means a queued key or check never ran.
        EXPECT_EQ(screen.PendingEvents(), 0) << "the utility ended before all input was used:\n"
                                             << screen.Text();
        return exitCode;
    }
    // Ends the run from the card list with Escape; returns the exit code.
    int Leave() {
        Press(Key::Escape);
        return RunApp();
    }
    // Queues a check to run when the input reaches it.
    void Check(std::function<void()> check) { screen.PushCallback(std::move(check)); }
    void Press(Key key, bool alt = false) { screen.PushKey(key, alt); }
    void PressTimes(Key key, int times) {
        for (int i = 0; i < times; ++i) {
            Press(key);
        }
    }
    void Alt(char letter) { screen.PushCharacter(static_cast<char32_t>(letter), true); }

    // Inside a check: the dialog in front and its controls.
    static HWND Front() { return GetActiveWindow(); }
    static std::string Caption() { return ControlText(0); }
    static bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(Front(), id)) != FALSE; }
    static bool Checked(int id) { return IsDlgButtonChecked(Front(), id) == BST_CHECKED; }
    static int ListSelection(int id) {
        return static_cast<int>(SendDlgItemMessageA(Front(), id, LB_GETCURSEL, 0, 0));
    }
    static Rows ListRows(int controlId) {
        Rows rows;
        const auto count = SendDlgItemMessageA(Front(), controlId, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            rows.push_back(ItemText(controlId, LB_GETTEXTLEN, LB_GETTEXT, i));
        }
        return rows;
    }
    // The card list's Properties, Add and Remove buttons, each its initial when enabled and '-'
    // when not: "PA-".
    static std::string EnabledButtons() {
        return {Enabled(IDC_PROPERTIES) ? 'P' : '-', Enabled(IDC_ADD) ? 'A' : '-',
                Enabled(IDC_REMOVE) ? 'R' : '-'};
    }
    static std::string ComboText(int controlId) {
        const auto selected = SendDlgItemMessageA(Front(), controlId, CB_GETCURSEL, 0, 0);
        return selected == CB_ERR ? std::string()
                                  : ItemText(controlId, CB_GETLBTEXTLEN, CB_GETLBTEXT, selected);
    }
    static std::string ControlText(int controlId) {
        HWND window = controlId == 0 ? Front() : GetDlgItem(Front(), controlId);
        const int length = GetWindowTextLengthA(window);
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        GetWindowTextA(window, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(length));
        return text;
    }
    bool Shows(const std::string& text) const {
        int x = 0;
        int y = 0;
        return screen.Find(text, &x, &y);
    }

    // The dump of the Parameters key of a registry that holds just these cards, built in a
    // scratch database so that the test's own registry stays as it is.
    std::string LayoutOf(const std::string& cards) {
        const std::string database = DatabasePath();
        FreshRegistry("expected");
        Build(cards);
        std::string layout = Parameters();
        CloseRegistryDatabase();
        setenv("ZOVCFG_REGISTRY", database.c_str(), 1);
        return layout;
    }

    // Queues a check that the card list is in front with these rows and this row selected
    // (LB_ERR: none) and, when given, these EnabledButtons().
    void ExpectCardList(const Rows& rows, int selected = 0, const std::string& buttons = "") {
        Check([=] {
            ASSERT_EQ(Caption(), " Tarnell ZOV Cards");
            EXPECT_EQ(ListRows(IDC_CARD_LIST), rows);
            EXPECT_EQ(ListSelection(IDC_CARD_LIST), selected);
            if (!buttons.empty()) {
                EXPECT_EQ(EnabledButtons(), buttons);
            }
        });
    }
    // Queues a check that a box with this caption is in front and the screen shows this text.
    void ExpectBox(const std::string& caption, const std::string& text) {
        Check([=, this] {
            EXPECT_EQ(Caption(), caption);
            EXPECT_TRUE(Shows(text)) << screen.Text();
        });
    }

    MemoryTerminal screen{80, 24};

  private:
    // The text of one row of a list box or a combo box, fetched with the box's own two messages.
    static std::string ItemText(int controlId, UINT lengthMessage, UINT textMessage,
                                LRESULT index) {
        const auto item = static_cast<WPARAM>(index);
        const auto length = SendDlgItemMessageA(Front(), controlId, lengthMessage, item, 0);
        std::string text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
        SendDlgItemMessageA(Front(), controlId, textMessage, item,
                            reinterpret_cast<LPARAM>(text.data()));
        text.resize(text.size() - 1);
        return text;
    }
};

}  // namespace zov::test
