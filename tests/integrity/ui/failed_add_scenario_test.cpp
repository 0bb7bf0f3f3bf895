// An add that the registry fails at one of its writes, met through the whole utility: the user
// sees "Card Not Added" over the settings dialog, which stays open; nothing reaches the registry
// and the utility ends with nothing changed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app_scenario.h"
#include "platform/registry/registry_database.h"
#include "store/card_globals.h"
#include "store/new_card_commit.h"
#include "ui/res/resource.h"

namespace zov::test {
namespace {

constexpr const char* kSettingsCaption = "ZOV Card Settings";

// Which write of the add fails: 0 the first, 1 one in the middle, 2 the commit.
class FailedAddScenario : public AppScenario, public ::testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        AppScenario::SetUp();
        // Neither card conflicts with the settings dialog's defaults: ISA at 0x200, IRQ 5,
        // 8 ports from COM13.
        Build(IsaCardKeys(1, 8, 3, 0x300, 10) + PciCardKeys(2, 4, 40));
    }
    // The writes of the add the dialog's defaults make, counted on a copy of the registry: the
    // last one is the commit.
    int WritesOfDefaultAdd() {
        CloseRegistryDatabase();
        const std::string copy = PathInDir("count.db");
        WriteFileBytes(copy, ReadFileBytes(DatabasePath()));
        setenv("ZOVCFG_REGISTRY", copy.c_str(), 1);
        const NewCard card = DescribeNewCard("COM13", 1, 0, "200", "5");
        int writes = 0;
        for (int k = 1; k < 200; ++k) {
            FailAtWrite(k);
            if (!AddCard(card, 2)) {
                writes = k - 1;
                break;
            }
        }
        FailAtWrite(0);
        setenv("ZOVCFG_REGISTRY", DatabasePath().c_str(), 1);
        CloseRegistryDatabase();
        return writes;
    }
};

TEST_P(FailedAddScenario, CardNotAddedKeepsTheDialogOpenAndTheRegistryAsItWas) {
    const std::string before = Parameters();
    const int writes = WritesOfDefaultAdd();
    // The card key, two values, eight port keys, eight names and the commit at least.
    ASSERT_GE(writes, 20);
    const int k = GetParam() == 0 ? 1 : GetParam() == 1 ? writes / 2 : writes;

    Alt('a');
    Check([k] {
        ASSERT_EQ(Caption(), kSettingsCaption);
        FailAtWrite(k);
    });
    Alt('d');
    Check([] {
        EXPECT_EQ(Caption(), "Card Not Added");
        HWND owner = GetWindow(Front(), GW_OWNER);
        ASSERT_NE(owner, nullptr);
        EXPECT_NE(GetDlgItem(owner, IDC_BUS_PCI), nullptr) << "the box belongs to the settings";
    });
    Press(Key::Enter);
    Check([] {
        EXPECT_EQ(Caption(), kSettingsCaption);
        EXPECT_EQ(ComboText(IDC_STARTING_PORT), "COM13");
        EXPECT_EQ(g_nChangeCount, 0);
    });
    Alt('c');
    Check([] {
        EXPECT_EQ(Caption(), " Tarnell ZOV Cards");
        EXPECT_EQ(ListRows(IDC_CARD_LIST).size(), 2U);
    });
    EXPECT_EQ(Leave(), 0);
    FailAtWrite(0);
    EXPECT_EQ(Parameters(), before) << "after a failure at write " << k << " of " << writes;
}

INSTANTIATE_TEST_SUITE_P(Writes, FailedAddScenario, ::testing::Values(0, 1, 2));

}  // namespace
}  // namespace zov::test
