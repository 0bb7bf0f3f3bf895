// The list entries of the card settings dialog and the application icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "ui/res/resource.h"
#include "ui/res/zovcfg_resources.h"

namespace {

std::vector<std::string> EntriesOf(int controlId) {
    std::vector<std::string> texts;
    const zov::DialogInitData* init = ZovcfgResources().FindDialogInit(IDD_CARD_SETTINGS);
    if (init == nullptr) {
        ADD_FAILURE() << "no list entries for the card settings dialog";
        return texts;
    }
    for (const auto& entry : init->entries) {
        if (entry.controlId == controlId) {
            EXPECT_EQ(entry.message, static_cast<UINT>(CB_ADDSTRING));
            texts.push_back(entry.text);
        }
    }
    return texts;
}

TEST(CardSettingsListData, OnlyTheSettingsDialogHasListEntries) {
    ASSERT_EQ(ZovcfgResources().dialogInit.size(), 1U);
    EXPECT_EQ(ZovcfgResources().dialogInit[0].dialogId, IDD_CARD_SETTINGS);
}

TEST(CardSettingsListData, ListsComeInResourceOrder) {
    const zov::DialogInitData* init = ZovcfgResources().FindDialogInit(IDD_CARD_SETTINGS);
    ASSERT_NE(init, nullptr);
    ASSERT_EQ(init->entries.size(), 48U + 9U + 132U);
    // All base addresses first, then the interrupts, then the ports.
    for (std::size_t i = 0; i < init->entries.size(); ++i) {
        const int expected = i < 48 ? IDC_BASE_ADDRESS : i < 57 ? IDC_IRQ : IDC_STARTING_PORT;
        ASSERT_EQ(init->entries[i].controlId, expected) << "entry " << i;
    }
}

TEST(CardSettingsListData, BaseAddressesInStepsOfSixteen) {
    const std::vector<std::string> addresses = EntriesOf(IDC_BASE_ADDRESS);
    ASSERT_EQ(addresses.size(), 48U);
    EXPECT_EQ(addresses.front(), "100");
    EXPECT_EQ(addresses[9], "190");
    EXPECT_EQ(addresses[10], "1A0");
    EXPECT_EQ(addresses[16], "200");
    EXPECT_EQ(addresses.back(), "3F0");
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        EXPECT_EQ(std::stoi(addresses[i], nullptr, 16), 0x100 + 0x10 * static_cast<int>(i));
    }
}

TEST(CardSettingsListData, SortingTheBaseAddressesKeepsTheirOrder) {
    // The list is sorted; its indexes are only those of the resource if sorting changes nothing.
    const std::vector<std::string> addresses = EntriesOf(IDC_BASE_ADDRESS);
    std::vector<std::string> sorted = addresses;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, addresses);
}

TEST(CardSettingsListData, InterruptsInResourceOrder) {
    const std::vector<std::string> irqs = EntriesOf(IDC_IRQ);
    EXPECT_EQ(irqs, (std::vector<std::string>{"2", "3", "4", "5", "7", "10", "11", "12", "15"}));
    ASSERT_GT(irqs.size(), 3U);
    EXPECT_EQ(irqs[3], "5");
}

TEST(CardSettingsListData, PortsFromCom1ToCom132) {
    const std::vector<std::string> ports = EntriesOf(IDC_STARTING_PORT);
    ASSERT_EQ(ports.size(), 132U);
    for (std::size_t i = 0; i < ports.size(); ++i) {
        EXPECT_EQ(ports[i], "COM" + std::to_string(i + 1));
    }
    EXPECT_EQ(ports[12], "COM13");
}

TEST(ApplicationIcon, IsThirtyTwoSquareInSixteenColours) {
    const zov::IconImage* icon = ZovcfgResources().FindIcon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    std::set<int> colours;
    for (uint8_t index : icon->pixels) {
        EXPECT_LT(index, 16);
        colours.insert(index);
    }
    // A picture, not a blank square.
    EXPECT_GE(colours.size(), 5U);
}

}  // namespace
