// The resources of zovcfg: the list entries of the card settings dialog, the application icon,
// and every dialog template, taken from the resource table, run on an 80 by 24 screen as a
// user sees it: compared with its golden text under golden/, every text whole inside its own
// control, no two controls overlapping, unique ids. Run with ZOV_UPDATE_GOLDEN=1 to write the
// goldens afresh, then read them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialog/dialog_manager.h"
#include "platform/framework/c_dialog.h"
#include "platform/framework/resource_handle.h"
#include "platform/terminal/memory_terminal.h"
#include "ui/res/resource.h"
#include "ui/res/zovcfg_resources.h"

namespace {

using zov::ControlClass;
using zov::DialogTemplate;

// Labels have no ids of their own; in the copy that is run, control i without one gets this.
constexpr int kLabelIds = 3000;

std::vector<int> TemplateIds() {
    std::vector<int> ids;
    for (const DialogTemplate& dialog : ZovcfgResources().dialogs) {
        ids.push_back(dialog.id);
    }
    return ids;
}

// Runs the template's dialog with nothing of its own but the framework's, as the application
// runs them; calls inside(dialog, terminal) once it is drawn, then ends it after whatever inside
// queued.
void RunTemplate(const DialogTemplate& dialogTemplate,
                 const std::function<void(HWND, zov::MemoryTerminal&)>& inside) {
    zov::ResourceModule module;
    module.dialogs = {dialogTemplate};
    zov::MemoryTerminal terminal(80, 24);
    zov::AttachTerminal(&terminal);
    zov::SetThreeDimensionalLook(true);
    AfxSetResourceHandle(&module);
    CDialog dialog(static_cast<UINT>(dialogTemplate.id));
    terminal.PushCallback([&] {
        inside(dialog.m_hWnd, terminal);
        terminal.PushKey(zov::Key::Escape);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(terminal.RanDry());
    zov::AttachTerminal(nullptr);
    zov::SetThreeDimensionalLook(false);
    AfxSetResourceHandle(nullptr);
}

// The cells of row y from x = left to right - 1, anything beyond ASCII as '?'.
std::string Cells(zov::MemoryTerminal& terminal, int y, int left, int right) {
    std::string text;
    for (int x = left; x < right; ++x) {
        const char32_t ch = terminal.CharAt(x, y);
        text += ch < 128 ? static_cast<char>(ch) : '?';
    }
    return text;
}

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

class EveryTemplate : public ::testing::TestWithParam<int> {
  protected:
    const DialogTemplate& Template() const { return *ZovcfgResources().FindDialog(GetParam()); }
};

TEST_P(EveryTemplate, MatchesItsGoldenScreen) {
    std::string screen;
    RunTemplate(Template(),
                [&](HWND, zov::MemoryTerminal& terminal) { screen = terminal.Golden(); });
    const std::string path =
        std::string(ZOV_SOURCE_DIR) + "/tests/ui/res/golden/" + std::to_string(GetParam()) + ".txt";
    if (const char* update = std::getenv("ZOV_UPDATE_GOLDEN");
        update && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << screen;
        GTEST_SKIP() << "wrote " << path;
    }
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file.good()) << "no golden " << path << "; run with ZOV_UPDATE_GOLDEN=1";
    std::ostringstream golden;
    golden << file.rdbuf();
    EXPECT_EQ(screen, golden.str()) << "the screen of template " << GetParam() << " changed";
}

// The layout rule: each word of a control's text stands on the rows of that control, inside the
// dialog, and no two controls other than group boxes share a cell.
TEST_P(EveryTemplate, ShowsEveryTextWholeInItsControlWithoutOverlaps) {
    DialogTemplate labelled = Template();
    std::set<int> ids;
    for (std::size_t i = 0; i < labelled.controls.size(); ++i) {
        zov::ControlTemplate& control = labelled.controls[i];
        EXPECT_TRUE(control.id == IDC_STATIC || ids.insert(control.id).second)
            << "id " << control.id << " twice";
        if (control.id == IDC_STATIC) {
            control.id = kLabelIds + static_cast<int>(i);
        }
    }
    RunTemplate(labelled, [&](HWND dialog, zov::MemoryTerminal& terminal) {
        RECT frame{};
        GetWindowRect(dialog, &frame);
        EXPECT_TRUE(frame.left >= 0 && frame.right <= 80 && frame.bottom <= 24);
        std::vector<std::pair<int, RECT>> placed;  // not group boxes, which hold the others
        for (const zov::ControlTemplate& control : labelled.controls) {
            RECT rect{};
            ASSERT_TRUE(GetWindowRect(GetDlgItem(dialog, control.id), &rect)) << control.id;
            std::string rows;
            for (int y = rect.top; y < rect.bottom; ++y) {
                rows += Cells(terminal, y, frame.left, frame.right) + "\n";
            }
            std::istringstream words(control.text);
            for (std::string word; words >> word;) {
                std::erase(word, '&');
                EXPECT_NE(rows.find(word), std::string::npos)
                    << "\"" << word << "\" of control " << control.id << " on rows " << rect.top
                    << " to " << rect.bottom - 1 << ":\n"
                    << terminal.Text();
            }
            if ((control.style & 0xF) != BS_GROUPBOX ||
                control.controlClass != ControlClass::Button) {
                placed.emplace_back(control.id, rect);
            }
        }
        for (std::size_t i = 0; i < placed.size(); ++i) {
            for (std::size_t j = i + 1; j < placed.size(); ++j) {
                EXPECT_FALSE(Overlap(placed[i].second, placed[j].second))
                    << placed[i].first << " and " << placed[j].first << "\n"
                    << terminal.Text();
            }
        }
    });
}

INSTANTIATE_TEST_SUITE_P(FromTheResourceTable, EveryTemplate, ::testing::ValuesIn(TemplateIds()),
                         [](const ::testing::TestParamInfo<int>& test) {
                             return "Template" + std::to_string(test.param);
                         });

// (That every template the utility opens is there: the scenario tests, which open each.)
TEST(DialogTemplates, ThePropertyEditsAreReadOnlyAndEnabled) {
    int edits = 0;
    for (const auto& control : ZovcfgResources().FindDialog(IDD_CARD_PROPERTIES)->controls) {
        if (control.controlClass == ControlClass::Edit) {
            ++edits;
            EXPECT_EQ(control.style & (ES_READONLY | WS_DISABLED), static_cast<DWORD>(ES_READONLY))
                << control.id;
        }
    }
    EXPECT_EQ(edits, 7);
}

// The entries of the settings dialog's lists, the only ones in the module, each added with
// CB_ADDSTRING in resource order, to their ends. (The entries the dialog picks by index, its
// defaults and the picks of a keyboard user: AddCardScenario.)
TEST(CardSettingsListData, ListsHoldEveryEntryInResourceOrder) {
    ASSERT_EQ(ZovcfgResources().dialogInit.size(), 1U);
    const zov::DialogInitData* init = ZovcfgResources().FindDialogInit(IDD_CARD_SETTINGS);
    ASSERT_NE(init, nullptr);
    std::map<int, std::vector<std::string>> lists;
    for (const auto& entry : init->entries) {
        EXPECT_EQ(entry.message, static_cast<UINT>(CB_ADDSTRING));
        lists[entry.controlId].push_back(entry.text);
    }
    const struct {
        int list;
        std::size_t count;
        const char* last;
    } kLists[] = {
        {IDC_BASE_ADDRESS, 48, "3F0"}, {IDC_IRQ, 9, "15"}, {IDC_STARTING_PORT, 132, "COM132"}};
    EXPECT_EQ(lists.size(), std::size(kLists));
    for (const auto& row : kLists) {
        const std::vector<std::string>& entries = lists[row.list];
        ASSERT_EQ(entries.size(), row.count) << row.list;
        EXPECT_EQ(entries.back(), row.last);
    }
    // The base-address list is sorted: sorting must keep the resource's indexes.
    EXPECT_TRUE(std::is_sorted(lists[IDC_BASE_ADDRESS].begin(), lists[IDC_BASE_ADDRESS].end()));
}

TEST(ApplicationIcon, IsAPictureInSixteenColours) {
    const zov::IconImage* icon = ZovcfgResources().FindIcon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    std::set<int> colours;
    for (uint8_t index : icon->pixels) {
        EXPECT_LT(index, 16);
        colours.insert(index);
    }
    EXPECT_GE(colours.size(), 5U) << "a blank square";
}

}  // namespace
