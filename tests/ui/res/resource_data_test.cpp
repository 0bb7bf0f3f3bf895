// The list entries of the card settings dialog and the application icon.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/format.h"
#include "ui/res/resource.h"
#include "ui/res/zovcfg_resources.h"

namespace {

// The entries of the settings dialog's lists, the only ones in the module: all base addresses
// first (sorted, so that the sorted list keeps the resource's indexes), then the interrupts, then
// the ports, each added with CB_ADDSTRING.
TEST(CardSettingsListData, ListsComeWholeInResourceOrder) {
    ASSERT_EQ(ZovcfgResources().dialogInit.size(), 1U);
    const zov::DialogInitData* init = ZovcfgResources().FindDialogInit(IDD_CARD_SETTINGS);
    ASSERT_NE(init, nullptr);
    std::vector<std::string> expected;
    for (unsigned address = 0x100; address <= 0x3F0; address += 0x10) {
        expected.push_back(zov::FormatText("%X", address) + " base");
    }
    for (const char* irq : {"2", "3", "4", "5", "7", "10", "11", "12", "15"}) {
        expected.push_back(std::string(irq) + " irq");
    }
    for (int port = 1; port <= 132; ++port) {
        expected.push_back("COM" + std::to_string(port) + " port");
    }
    std::vector<std::string> entries;
    for (const auto& entry : init->entries) {
        EXPECT_EQ(entry.message, static_cast<UINT>(CB_ADDSTRING));
        entries.push_back(entry.text + (entry.controlId == IDC_BASE_ADDRESS    ? " base"
                                        : entry.controlId == IDC_IRQ           ? " irq"
                                        : entry.controlId == IDC_STARTING_PORT ? " port"
                                                                               : " other"));
    }
    EXPECT_EQ(entries, expected);
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
