// The list entries of the card settings dialog and the application icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ui/res/resource.h"
#include "ui/res/zovcfg_resources.h"

namespace {

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
