// The list entries of the card settings dialog and the application icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/format.h"
#include "ui/res/resource.h"
#include "ui/res/zovcfg_resources.h"

namespace {

// The entries of the settings dialog's lists, the only ones in the module: all base addresses
// first, then the interrupts, then the ports, each added with CB_ADDSTRING.
TEST(CardSettingsListData, ListsComeWholeInResourceOrder) {
    ASSERT_EQ(ZovcfgResources().dialogInit.size(), 1U);
    const zov::DialogInitData* init = ZovcfgResources().FindDialogInit(IDD_CARD_SETTINGS);
    ASSERT_NE(init, nullptr);
    const auto rank = [](int id) {
        return id == IDC_BASE_ADDRESS ? 0 : id == IDC_IRQ ? 1 : id == IDC_STARTING_PORT ? 2 : 3;
    };
    std::vector<std::string> lists[4];
    int lastRank = 0;
    for (const auto& entry : init->entries) {
        EXPECT_EQ(entry.message, static_cast<UINT>(CB_ADDSTRING));
        const int entryRank = rank(entry.controlId);
        EXPECT_TRUE(entryRank >= lastRank && entryRank < 3) << "entry " << entry.text;
        lastRank = entryRank;
        lists[entryRank].push_back(entry.text);
    }
    const auto& [addresses, irqs, ports, others] = lists;
    ASSERT_EQ(addresses.size(), 48U);
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        EXPECT_EQ(addresses[i], zov::FormatText("%X", static_cast<unsigned>(0x100 + 0x10 * i)));
    }
    // The base-address list is sorted; its indexes are those of the resource only if sorting
    // changes nothing.
    EXPECT_TRUE(std::is_sorted(addresses.begin(), addresses.end()));
    EXPECT_EQ(irqs, (std::vector<std::string>{"2", "3", "4", "5", "7", "10", "11", "12", "15"}));
    ASSERT_EQ(ports.size(), 132U);
    for (std::size_t i = 0; i < ports.size(); ++i) {
        EXPECT_EQ(ports[i], "COM" + std::to_string(i + 1));
    }
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
