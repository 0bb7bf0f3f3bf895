// Scenario tests run the whole utility on a prepared registry, through the in-memory screen: the
// test queues keys, clicks and checks, runs the application, and reads back the exit code.
#pragma once

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "card_keys.h"
#include "card_store_test.h"
#include "platform/security/credentials.h"
#include "platform/terminal/memory_terminal.h"

namespace zov::test {

// Finds the close box on the screen line of the caption, right of it; false when there is none.
bool FindCloseBox(const MemoryTerminal& screen, const std::string& caption, int* x, int* y);

using Rows = std::vector<std::string>;

class AppScenario : public CardStoreTest {
  protected:
    // Runs the utility until its card list closes; returns the exit code. Fails the test when
    // the queued input ran out before the utility ended.
    int RunApp();
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
    static std::vector<std::string> ListRows(int controlId);
    // The card list's Properties, Add and Remove buttons, each its initial when enabled and '-'
    // when not: "PA-".
    static std::string EnabledButtons();
    static std::string ComboText(int controlId);
    static std::string ControlText(int controlId);
    bool Shows(const std::string& text) const;

    // The dump of the Parameters key of a registry that holds just these cards, built in a
    // scratch database so that the test's own registry stays as it is.
    std::string LayoutOf(const std::string& cards);

    // Queues a check that the card list is in front with these rows and this row selected
    // (LB_ERR: none) and, when given, these EnabledButtons().
    void ExpectCardList(const Rows& rows, int selected = 0, const std::string& buttons = "");

    MemoryTerminal screen{80, 24};
};

}  // namespace zov::test
