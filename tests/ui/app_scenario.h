// Scenario tests run the whole utility on a prepared registry, through the in-memory screen: the
// test queues keys, clicks and checks, runs the application, and reads back the exit code.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/terminal/memory_terminal.h"
#include "registry_test_support.h"

namespace zov::test {

inline constexpr const char* kParametersPath =
    "SYSTEM\\CurrentControlSet\\Services\\ZOVCOM\\Parameters";

// Card keys in the registry fixture's notation, under the Parameters key.
std::string IsaCardKeys(int card, int ports, int firstCom, unsigned baseAddress, unsigned irq);
std::string PciCardKeys(int card, int ports, int firstCom);

class AppScenario : public RegistryTest {
  protected:
    // Runs the utility until its card list closes; returns the exit code. Fails the test when
    // the queued input ran out before the utility ended.
    int RunApp();
    // Queues a check to run when the input reaches it.
    void Check(std::function<void()> check) { screen.PushCallback(std::move(check)); }
    void Press(Key key, bool alt = false) { screen.PushKey(key, alt); }
    void Alt(char letter) { screen.PushCharacter(static_cast<char32_t>(letter), true); }

    // Inside a check: the dialog in front and its controls.
    static HWND Front();
    static std::string Caption();
    static bool Enabled(int controlId);
    static bool Checked(int controlId);
    static int ListSelection(int controlId);
    static std::vector<std::string> ListRows(int controlId);
    static std::string ComboText(int controlId);
    static std::string ControlText(int controlId);
    bool Shows(const std::string& text) const;

    std::string Parameters() { return Dump(kParametersPath); }

    MemoryTerminal screen{80, 24};
};

}  // namespace zov::test
