#include "app_scenario.h"

#include "platform/framework/afx_win_main.h"
#include "store/card_globals.h"
#include "ui/res/zovcfg_resources.h"

namespace zov::test {

namespace {

std::string PortKeys(const std::string& cardKey, int ports, int firstCom) {
    std::string text;
    for (int port = 1; port <= ports; ++port) {
        text += cardKey + "\\Port" + std::to_string(port) + "\n  DOSDeviceName = sz:COM" +
                std::to_string(firstCom + port - 1) + "\n";
    }
    return text;
}

std::string CardKey(int card) {
    return std::string(kParametersPath) + "\\Card" + std::to_string(card);
}

}  // namespace

std::string IsaCardKeys(int card, int ports, int firstCom, unsigned baseAddress, unsigned irq) {
    return CardKey(card) + "\n  ZOVBaseAddress = dword:" + std::to_string(baseAddress) +
           "\n  ZOVIrq = dword:" + std::to_string(irq) + "\n" +
           PortKeys(CardKey(card), ports, firstCom);
}

std::string PciCardKeys(int card, int ports, int firstCom) {
    return CardKey(card) + "\n  ZOVPortCount = dword:" + std::to_string(ports) + "\n" +
           PortKeys(CardKey(card), ports, firstCom);
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

HWND AppScenario::Front() {
    return GetActiveWindow();
}

std::string AppScenario::Caption() {
    return ControlText(0);
}

bool AppScenario::Enabled(int controlId) {
    return IsWindowEnabled(GetDlgItem(Front(), controlId)) != FALSE;
}

bool AppScenario::Checked(int controlId) {
    return IsDlgButtonChecked(Front(), controlId) == BST_CHECKED;
}

int AppScenario::ListSelection(int controlId) {
    return static_cast<int>(SendDlgItemMessageA(Front(), controlId, LB_GETCURSEL, 0, 0));
}

std::vector<std::string> AppScenario::ListRows(int controlId) {
    std::vector<std::string> rows;
    const auto count = SendDlgItemMessageA(Front(), controlId, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length =
            SendDlgItemMessageA(Front(), controlId, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string row(static_cast<std::size_t>(length) + 1, '\0');
        SendDlgItemMessageA(Front(), controlId, LB_GETTEXT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(row.data()));
        row.resize(static_cast<std::size_t>(length));
        rows.push_back(row);
    }
    return rows;
}

std::string AppScenario::ComboText(int controlId) {
    const auto selected = SendDlgItemMessageA(Front(), controlId, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) {
        return {};
    }
    const auto length =
        SendDlgItemMessageA(Front(), controlId, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendDlgItemMessageA(Front(), controlId, CB_GETLBTEXT, static_cast<WPARAM>(selected),
                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
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
