// Each dialog template as a user sees it on an 80 by 24 screen, compared with a golden text
// under golden/. Run with ZOV_UPDATE_GOLDEN=1 to write the goldens afresh, then read them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/dialog/dialog_manager.h"
#include "platform/framework/c_dialog.h"
#include "platform/framework/resource_handle.h"
#include "platform/terminal/memory_terminal.h"
#include "ui/res/resource.h"
#include "ui/res/zovcfg_resources.h"

namespace {

// The screen of the template's dialog, run with nothing of its own but the framework's.
std::string ScreenOf(int dialogId) {
    zov::MemoryTerminal terminal(80, 24);
    zov::AttachTerminal(&terminal);
    zov::SetThreeDimensionalLook(true);  // as the application runs them
    AfxSetResourceHandle(ZovcfgInstance());
    CDialog dialog(static_cast<UINT>(dialogId));
    std::string screen;
    terminal.PushCallback([&] { screen = terminal.Golden(); });
    terminal.PushKey(zov::Key::Escape);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(terminal.RanDry());
    zov::AttachTerminal(nullptr);
    zov::SetThreeDimensionalLook(false);
    AfxSetResourceHandle(nullptr);
    return screen;
}

class GoldenScreen : public ::testing::TestWithParam<int> {};

TEST_P(GoldenScreen, MatchesTheGoldenText) {
    const int dialogId = GetParam();
    const std::string screen = ScreenOf(dialogId);
    ASSERT_FALSE(screen.empty());
    const std::string path =
        std::string(ZOV_SOURCE_DIR) + "/tests/ui/res/golden/" + std::to_string(dialogId) + ".txt";
    if (const char* update = std::getenv("ZOV_UPDATE_GOLDEN");
        update && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << screen;
        GTEST_SKIP() << "wrote " << path;
    }
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file.good()) << "no golden " << path << "; run with ZOV_UPDATE_GOLDEN=1";
    std::ostringstream golden;
    golden << file.rdbuf();
    EXPECT_EQ(screen, golden.str()) << "the screen of template " << dialogId << " changed";
}

INSTANTIATE_TEST_SUITE_P(EveryTemplate, GoldenScreen,
                         ::testing::Values(IDD_CARD_LIST, IDD_CARD_SETTINGS, IDD_CARD_PROPERTIES,
                                           IDD_ADD_CARD_ERROR, IDD_PROPERTIES_ERROR,
                                           IDD_REMOVE_ERROR, IDD_REMOVE_CARD));

}  // namespace
