// Adding a card as a user does it: the Add command, the settings dialog with its lists and radio
// groups, the conflict boxes, the card limit and what ends up in the registry.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "app_scenario.h"
#include "platform/dialog/dialog_manager.h"
#include "platform/framework/resource_handle.h"
#include "store/card_globals.h"
#include "ui/card_settings_dlg.h"
#include "ui/res/resource.h"
#include "ui/res/zovcfg_resources.h"

namespace zov::test {
namespace {

constexpr const char* kSettingsCaption = "ZOV Card Settings";
constexpr const char* kListCaption = " Tarnell ZOV Cards";

// What the settings dialog shows in its ISA state: the three lists and the set port count.
struct Choices {
    std::string baseAddress;
    std::string irq;
    std::string startingPort;
    int portCountButton;
};

const Choices kDefaults{"200", "5", "COM13", IDC_PORTS_8};
const Choices kPicked{"2A0", "7", "COM21", IDC_PORTS_8};

class AddCardScenario : public AppScenario {
  protected:
    // Opens the settings dialog from the card list and checks that it shows the defaults.
    void OpenSettings() {
        Alt('a');
        ExpectSettings(kDefaults);
    }

    // Also that the dialog is in its ISA state: both lists enabled.
    void ExpectSettings(const Choices& choices) {
        Check([=] {
            ASSERT_EQ(Caption(), kSettingsCaption);
            EXPECT_EQ(ComboText(IDC_BASE_ADDRESS), choices.baseAddress);
            EXPECT_EQ(ComboText(IDC_IRQ), choices.irq);
            EXPECT_EQ(ComboText(IDC_STARTING_PORT), choices.startingPort);
            for (const int button : {IDC_PORTS_4, IDC_PORTS_8, IDC_PORTS_16}) {
                EXPECT_EQ(Checked(button), button == choices.portCountButton) << button;
            }
            EXPECT_TRUE(Checked(IDC_BUS_ISA));
            EXPECT_TRUE(Enabled(IDC_BASE_ADDRESS));
            EXPECT_TRUE(Enabled(IDC_IRQ));
        });
    }

    void ExpectPciState() {
        Check([] {
            ASSERT_EQ(Caption(), kSettingsCaption);
            for (const int list : {IDC_BASE_ADDRESS, IDC_IRQ}) {
                EXPECT_EQ(SendDlgItemMessageA(Front(), list, CB_GETCURSEL, 0, 0), CB_ERR);
                EXPECT_FALSE(Enabled(list));
            }
            EXPECT_TRUE(Checked(IDC_BUS_PCI));
            EXPECT_FALSE(Checked(IDC_BUS_ISA));
        });
    }

    // With the focus in the base-address list: picks "2A0" and "7", then unless only those
    // two, "COM21" in the starting-port list, the way a keyboard user does.
    void PickIsaChoices(bool startingPortToo = true) {
        PressTimes(Key::Down, 10);  // "200" -> "2A0"
        Press(Key::Tab);
        Press(Key::F4);  // open the interrupt list, step down once, take it
        Press(Key::Down);
        Press(Key::Enter);
        if (startingPortToo) {
            Press(Key::Tab);
            PressTimes(Key::Down, 8);  // "COM13" -> "COM21"
        }
    }

    // Ends the run from the card list with Escape; returns the exit code.
    int Leave() {
        Press(Key::Escape);
        return RunApp();
    }
};

TEST_F(AddCardScenario, TypicalRunWritesTheThirdCardAndEndsWithOne) {
    Build(IsaCardKeys(1, 8, 3, 0x300, 10) + PciCardKeys(2, 4, 11));
    OpenSettings();
    Check([] {
        EXPECT_TRUE(Enabled(IDOK));
        EXPECT_EQ(GetFocus(), GetDlgItem(Front(), IDC_BASE_ADDRESS));
        EXPECT_FALSE(IsWindowEnabled(GetWindow(Front(), GW_OWNER)))
            << "the card list stays disabled under the settings dialog";
    });
    PickIsaChoices();
    ExpectSettings(kPicked);
    Press(Key::Enter);
    ExpectCardList({"Card1\tISA\t8\tCOM3\t", "Card2\tPCI\t4\tCOM11\t", "Card3\tISA\t8\tCOM21\t"}, 0,
                   "PAR");
    Check([] { EXPECT_EQ(g_nChangeCount, 1); });
    EXPECT_EQ(Leave(), 1);
    EXPECT_EQ(Parameters(), LayoutOf(IsaCardKeys(1, 8, 3, 0x300, 10) + PciCardKeys(2, 4, 11) +
                                     IsaCardKeys(3, 8, 21, 0x2A0, 7)));
}

struct Conflict {
    const char* name;
    std::string card;  // the one card in the registry
    std::string row;   // its row in the card list
    const char* caption;
    const char* named;  // a piece of the message that says what conflicts
};

void PrintTo(const Conflict& conflict, std::ostream* out) {
    *out << conflict.name;
}

class AddCardConflict : public AddCardScenario, public ::testing::WithParamInterface<Conflict> {};

// The choices are "2A0", "7", "COM21" and 16 ports (COM21 to COM36); the one card in each
// registry collides with one of them.
TEST_P(AddCardConflict, BoxOverTheOpenDialogKeepsEveryChoice) {
    const Conflict conflict = GetParam();
    Build(conflict.card);
    const std::string before = Parameters();
    Choices chosen = kPicked;
    chosen.portCountButton = IDC_PORTS_16;
    OpenSettings();
    PickIsaChoices();
    Press(Key::Tab);  // to "8 Ports", the set button of its group
    Press(Key::Down);
    ExpectSettings(chosen);
    Alt('d');
    Check([this, conflict] {
        EXPECT_EQ(Caption(), conflict.caption);
        EXPECT_TRUE(Shows(conflict.named)) << screen.Text();
        const HWND owner = GetWindow(Front(), GW_OWNER);
        ASSERT_NE(owner, nullptr);
        EXPECT_NE(GetDlgItem(owner, IDC_BUS_PCI), nullptr) << "the box belongs to the settings";
    });
    Press(Key::Enter);
    ExpectSettings(chosen);
    Alt('c');
    ExpectCardList({conflict.row});
    EXPECT_EQ(Leave(), 0);
    EXPECT_EQ(Parameters(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, AddCardConflict,
    ::testing::Values(Conflict{"BaseAddress", IsaCardKeys(1, 4, 1, 0x2A0, 10),
                               "Card1\tISA\t4\tCOM1\t", "Base Address Conflict", "2A0"},
                      Conflict{"Irq", IsaCardKeys(1, 4, 1, 0x300, 7), "Card1\tISA\t4\tCOM1\t",
                               "Irq Conflict", "Irq 7"},
                      Conflict{"StartingPort", PciCardKeys(1, 8, 30), "Card1\tPCI\t8\tCOM30\t",
                               "Starting Port Conflict", "COM21 to COM36"}),
    [](const ::testing::TestParamInfo<Conflict>& info) { return info.param.name; });

TEST_F(AddCardScenario, PciConflictLeavesTheDialogInItsPciState) {
    Build(PciCardKeys(1, 8, 13));
    OpenSettings();
    PressTimes(Key::Tab, 4);  // to the ISA button
    Press(Key::Down);         // onto PCI, which sets it
    ExpectPciState();
    Press(Key::Enter);
    Check([] { EXPECT_EQ(Caption(), "Starting Port Conflict"); });
    Press(Key::Enter);
    ExpectPciState();
    Check([] { EXPECT_EQ(ComboText(IDC_STARTING_PORT), "COM13"); });
    Press(Key::Escape);
    EXPECT_EQ(Leave(), 0);
    EXPECT_EQ(g_nChangeCount, 0);
}

// Setting ISA brings back the default list choices, whether by arrow from PCI or by space on
// the set ISA button.
TEST_F(AddCardScenario, SettingIsaBringsBackTheDefaultListChoices) {
    OpenSettings();
    PickIsaChoices(false);
    PressTimes(Key::Tab, 3);
    Check([] { EXPECT_EQ(GetFocus(), GetDlgItem(Front(), IDC_BUS_ISA)); });
    Press(Key::Down);  // PCI
    ExpectPciState();
    Press(Key::Up);
    ExpectSettings(kDefaults);
    Alt('c');
    OpenSettings();
    PickIsaChoices(false);
    PressTimes(Key::Tab, 3);
    screen.PushCharacter(U' ');
    ExpectSettings(kDefaults);
    Alt('c');
    EXPECT_EQ(Leave(), 0);
    EXPECT_EQ(Parameters().find("Card"), std::string::npos) << Parameters();
}

TEST_F(AddCardScenario, PciCardGetsItsPortCountAndNoResources) {
    Build(IsaCardKeys(1, 4, 1, 0x200, 5));
    OpenSettings();
    PressTimes(Key::Tab, 3);  // "8 Ports"
    Press(Key::Down);         // "16 Ports"
    Press(Key::Tab);          // ISA, the set button of the bus group
    Press(Key::Down);         // PCI
    ExpectPciState();
    Press(Key::Enter);
    ExpectCardList({"Card1\tISA\t4\tCOM1\t", "Card2\tPCI\t16\tCOM13\t"});
    EXPECT_EQ(Leave(), 1);
    EXPECT_EQ(Parameters(), LayoutOf(IsaCardKeys(1, 4, 1, 0x200, 5) + PciCardKeys(2, 16, 13)));
}

TEST_F(AddCardScenario, CancelRefreshesTheListWithNothingWritten) {
    ExpectCardList({}, LB_ERR, "-A-");
    OpenSettings();
    // Another program configures a card while the dialog is open.
    Check([this] { Build(PciCardKeys(1, 4, 3)); });
    Alt('c');
    ExpectCardList({"Card1\tPCI\t4\tCOM3\t"}, 0, "PAR");
    EXPECT_EQ(Leave(), 0);
    EXPECT_EQ(g_nChangeCount, 0);
    EXPECT_EQ(Parameters(), LayoutOf(PciCardKeys(1, 4, 3)));
}

TEST_F(AddCardScenario, EighthCardDisablesAdd) {
    Build(PciCards(7, 104));
    Check([] { EXPECT_TRUE(Enabled(IDC_ADD)); });
    OpenSettings();
    Press(Key::Enter);
    Check([] {
        ASSERT_EQ(Caption(), kListCaption);
        EXPECT_EQ(ListRows(IDC_CARD_LIST).back(), "Card8\tISA\t8\tCOM13\t");
        EXPECT_FALSE(Enabled(IDC_ADD));
    });
    Alt('a');  // a disabled button does not answer its mnemonic
    Check([] { EXPECT_EQ(Caption(), kListCaption); });
    EXPECT_EQ(Leave(), 1);
}

// Nine card keys made by other means: Add is still enabled and shows the notice instead of the
// settings dialog; the list stays as it was, even when the registry changed meanwhile.
TEST_F(AddCardScenario, CardLimitShowsANoticeInsteadOfTheSettingsAndDoesNotRefresh) {
    Build(PciCards(9, 104));
    Check([] { EXPECT_TRUE(Enabled(IDC_ADD)); });
    Alt('a');
    Check([this] {
        EXPECT_EQ(Caption(), "Error Adding Card");
        EXPECT_TRUE(Shows("No additional cards can be added.")) << screen.Text();
        EXPECT_FALSE(IsWindowEnabled(GetWindow(Front(), GW_OWNER)));
        Build(PciCardKeys(10, 4, 200));
    });
    Press(Key::Enter);
    Check([] {
        ASSERT_EQ(Caption(), kListCaption);
        EXPECT_EQ(ListRows(IDC_CARD_LIST).size(), 9U) << "the list was refreshed";
        EXPECT_EQ(g_nCardCount, 9);
    });
    EXPECT_EQ(Leave(), 0);
}

// Add never opens the dialog for a non-administrator, so the dialog is run on its own here.
TEST_F(AddCardScenario, SettingsForNonAdministratorKeepDoneDisabledAndWriteNothing) {
    const BOOL savedIsAdmin = g_bIsAdmin;
    g_bIsAdmin = FALSE;
    g_nChangeCount = 0;
    AfxSetResourceHandle(ZovcfgInstance());
    AttachTerminal(&screen);
    CCardSettingsDlg settings;
    Check([] {
        ASSERT_EQ(Caption(), kSettingsCaption);
        EXPECT_FALSE(Enabled(IDOK));
    });
    Press(Key::Enter);  // the default button is disabled: nothing happens
    Alt('d');
    Check([] { EXPECT_EQ(Caption(), kSettingsCaption); });
    Press(Key::Escape);
    EXPECT_EQ(settings.DoModal(), IDCANCEL);
    AttachTerminal(nullptr);
    AfxSetResourceHandle(nullptr);
    g_bIsAdmin = savedIsAdmin;
    EXPECT_FALSE(screen.RanDry());
    EXPECT_EQ(g_nChangeCount, 0);
    EXPECT_EQ(Parameters().find("Card"), std::string::npos) << Parameters();
}

TEST_F(AddCardScenario, CardKeyCreatedMeanwhileIsNotOverwritten) {
    Build(PciCardKeys(1, 4, 3) + PciCardKeys(2, 4, 7));
    OpenSettings();
    Check([this] { Build(PciCardKeys(3, 4, 100)); });
    Press(Key::Enter);
    Check([this] {
        EXPECT_EQ(Caption(), "Card Not Added");
        EXPECT_TRUE(Shows("Card3")) << screen.Text();
    });
    Press(Key::Enter);
    ExpectSettings(kDefaults);
    Alt('c');
    EXPECT_EQ(Leave(), 0);
    EXPECT_EQ(g_nChangeCount, 0);
    EXPECT_EQ(Parameters(),
              LayoutOf(PciCardKeys(1, 4, 3) + PciCardKeys(2, 4, 7) + PciCardKeys(3, 4, 100)));
}

}  // namespace
}  // namespace zov::test
