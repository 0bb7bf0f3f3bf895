// Adding a card as a user does it: the Add command, the settings dialog with its lists and radio
// groups, the conflict boxes, the card limit and what ends up in the registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "app_scenario.h"
#include "platform/dialog/dialog_manager.h"
#include "platform/framework/resource_handle.h"
#include "platform/security/credentials.h"
#include "store/card_globals.h"
#include "ui/card_settings_dlg.h"
#include "ui/res/resource.h"
#include "ui/res/zovcfg_resources.h"

namespace zov::test {
namespace {

using Rows = std::vector<std::string>;

constexpr const char* kSettingsCaption = "ZOV Card Settings";
constexpr const char* kListCaption = " Tarnell ZOV Cards";

// What the settings dialog shows: the three lists and the set button of each radio group.
struct Choices {
    std::string baseAddress;
    std::string irq;
    std::string startingPort;
    int portCountButton;
    int busButton;
};

const Choices kDefaults{"200", "5", "COM13", IDC_PORTS_8, IDC_BUS_ISA};

// The port keys of a card as the registry dump lists them: names in upper-cased order, so that
// Port10 comes before Port2.
std::string PortDump(int firstCom, int ports) {
    std::vector<std::string> keys;
    for (int port = 1; port <= ports; ++port) {
        keys.push_back("Port" + std::to_string(port) + "\n  DOSDeviceName = sz:COM" +
                       std::to_string(firstCom + port - 1) + "\n");
    }
    std::sort(keys.begin(), keys.end());
    std::string text;
    for (const std::string& key : keys) {
        text += key;
    }
    return text;
}

// Cards 1 to count, PCI with four ports each, on COM ports far above the dialog's defaults.
std::string PciCards(int count) {
    std::string cards;
    for (int card = 1; card <= count; ++card) {
        cards += PciCardKeys(card, 4, 100 + 4 * card);
    }
    return cards;
}

class AddCardScenario : public AppScenario {
  protected:
    void PressTimes(Key key, int times) {
        for (int i = 0; i < times; ++i) {
            Press(key);
        }
    }

    // From the base-address list, where the dialog puts the focus, to the ISA or PCI button.
    void TabToBusType() { PressTimes(Key::Tab, 4); }

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
            for (const int button : {IDC_BUS_ISA, IDC_BUS_PCI}) {
                EXPECT_EQ(Checked(button), button == choices.busButton) << button;
            }
            EXPECT_TRUE(Enabled(IDC_BASE_ADDRESS));
            EXPECT_TRUE(Enabled(IDC_IRQ));
            EXPECT_TRUE(Enabled(IDC_STARTING_PORT));
        });
    }

    void ExpectPciState() {
        Check([] {
            ASSERT_EQ(Caption(), kSettingsCaption);
            EXPECT_EQ(SendDlgItemMessageA(Front(), IDC_BASE_ADDRESS, CB_GETCURSEL, 0, 0), CB_ERR);
            EXPECT_EQ(SendDlgItemMessageA(Front(), IDC_IRQ, CB_GETCURSEL, 0, 0), CB_ERR);
            EXPECT_FALSE(Enabled(IDC_BASE_ADDRESS));
            EXPECT_FALSE(Enabled(IDC_IRQ));
            EXPECT_TRUE(Checked(IDC_BUS_PCI));
            EXPECT_FALSE(Checked(IDC_BUS_ISA));
        });
    }

    void ExpectList(const Rows& rows) {
        Check([=] {
            ASSERT_EQ(Caption(), kListCaption);
            EXPECT_EQ(ListRows(IDC_CARD_LIST), rows);
            EXPECT_EQ(ListSelection(IDC_CARD_LIST), rows.empty() ? LB_ERR : 0);
        });
    }

    // With the focus in the base-address list: picks "2A0", then "7" in the interrupt list and
    // "COM21" in the starting-port list, the way a keyboard user does.
    void PickIsaChoices() {
        PressTimes(Key::Down, 10);  // "200" -> "2A0"
        Press(Key::Tab);
        Press(Key::F4);  // open the interrupt list, step down once, take it
        Press(Key::Down);
        Press(Key::Enter);
        Press(Key::Tab);
        PressTimes(Key::Down, 8);  // "COM13" -> "COM21"
    }

    static std::string CardPath(int card) {
        return std::string(kParametersPath) + "\\Card" + std::to_string(card);
    }
    std::string CardDump(int card) { return Dump(CardPath(card)); }
    static bool CardKeyExists(int card) {
        HKEY key = nullptr;
        const LSTATUS status =
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, CardPath(card).c_str(), 0, KEY_READ, &key);
        if (status == ERROR_SUCCESS) {
            RegCloseKey(key);
        }
        EXPECT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << status;
        return status == ERROR_SUCCESS;
    }
};

// --- The typical run ------------------------------------------------------------------------

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
    ExpectSettings({"2A0", "7", "COM21", IDC_PORTS_8, IDC_BUS_ISA});
    Press(Key::Enter);
    ExpectList({"Card1\tISA\t8\tCOM3\t", "Card2\tPCI\t4\tCOM11\t", "Card3\tISA\t8\tCOM21\t"});
    Check([] {
        EXPECT_EQ(g_nCardCount, 3);
        EXPECT_EQ(g_nChangeCount, 1);
        EXPECT_TRUE(Enabled(IDC_ADD));
    });
    Alt('c');
    EXPECT_EQ(RunApp(), 1);
    EXPECT_EQ(CardDump(3),
              "  ZOVBaseAddress = dword:0x2A0\n  ZOVIrq = dword:0x7\n" + PortDump(21, 8));
}

TEST_F(AddCardScenario, FirstCardIntoAnEmptyRegistryEnablesPropertiesAndRemove) {
    Check([] {
        EXPECT_FALSE(Enabled(IDC_PROPERTIES));
        EXPECT_FALSE(Enabled(IDC_REMOVE));
    });
    OpenSettings();
    Alt('d');
    ExpectList({"Card1\tISA\t8\tCOM13\t"});
    Check([] {
        EXPECT_TRUE(Enabled(IDC_PROPERTIES));
        EXPECT_TRUE(Enabled(IDC_REMOVE));
        EXPECT_TRUE(Enabled(IDC_ADD));
    });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 1);
    EXPECT_EQ(CardDump(1),
              "  ZOVBaseAddress = dword:0x200\n  ZOVIrq = dword:0x5\n" + PortDump(13, 8));
}

// --- Conflicts --------------------------------------------------------------------------------

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
    const Choices chosen{"2A0", "7", "COM21", IDC_PORTS_16, IDC_BUS_ISA};
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
    Check([] { EXPECT_EQ(g_nChangeCount, 0); });
    Alt('c');
    ExpectList({conflict.row});
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
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
    TabToBusType();
    Press(Key::Down);  // onto PCI, which sets it
    ExpectPciState();
    Press(Key::Enter);
    Check([] { EXPECT_EQ(Caption(), "Starting Port Conflict"); });
    Press(Key::Enter);
    ExpectPciState();
    Check([] {
        EXPECT_EQ(ComboText(IDC_STARTING_PORT), "COM13");
        EXPECT_TRUE(Checked(IDC_PORTS_8));
    });
    Press(Key::Escape);
    ExpectList({"Card1\tPCI\t8\tCOM13\t"});
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
    EXPECT_EQ(g_nChangeCount, 0);
}

// --- ISA and PCI ------------------------------------------------------------------------------

TEST_F(AddCardScenario, PciEmptiesBothListsAndIsaBringsBackTheDefaults) {
    OpenSettings();
    PressTimes(Key::Down, 10);  // "2A0"
    Press(Key::Tab);
    Press(Key::Down);  // "7"
    PressTimes(Key::Tab, 3);
    Check([] { EXPECT_EQ(GetFocus(), GetDlgItem(Front(), IDC_BUS_ISA)); });
    Press(Key::Down);  // PCI
    ExpectPciState();
    Press(Key::Up);  // back to ISA: the defaults, not "2A0" and "7"
    ExpectSettings(kDefaults);
    Alt('c');
    ExpectList({});
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
    EXPECT_FALSE(CardKeyExists(1));
}

TEST_F(AddCardScenario, SpaceOnTheSetIsaButtonAlsoResetsTheLists) {
    OpenSettings();
    PressTimes(Key::Down, 10);
    Press(Key::Tab);
    Press(Key::Down);
    ExpectSettings({"2A0", "7", "COM13", IDC_PORTS_8, IDC_BUS_ISA});
    PressTimes(Key::Tab, 3);
    Check([] { EXPECT_EQ(GetFocus(), GetDlgItem(Front(), IDC_BUS_ISA)); });
    screen.PushCharacter(U' ');
    ExpectSettings(kDefaults);
    Alt('c');
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
}

TEST_F(AddCardScenario, ClickOnTheSetIsaButtonAlsoResetsTheLists) {
    OpenSettings();
    PressTimes(Key::Down, 10);
    Press(Key::Tab);
    Press(Key::Down);
    // The click can only be aimed once the dialog is drawn, so this check queues the rest.
    Check([this] {
        // No card is listed, so the only "ISA" on the screen is the radio button's label.
        int x = 0;
        int y = 0;
        ASSERT_TRUE(screen.Find("ISA", &x, &y)) << screen.Text();
        EXPECT_EQ(ComboText(IDC_BASE_ADDRESS), "2A0");
        screen.PushClick(x, y);
        ExpectSettings(kDefaults);
        Alt('c');
        Press(Key::Escape);
    });
    EXPECT_EQ(RunApp(), 0);
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
    ExpectList({"Card1\tISA\t4\tCOM1\t", "Card2\tPCI\t16\tCOM13\t"});
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 1);
    EXPECT_EQ(CardDump(2), "  ZOVPortCount = dword:0x10\n" + PortDump(13, 16));
}

// --- Cancel -----------------------------------------------------------------------------------

struct CancelWay {
    const char* name;
    Key key;
    bool alt;
    char32_t letter;
};

void PrintTo(const CancelWay& way, std::ostream* out) {
    *out << way.name;
}

class AddCardCancel : public AddCardScenario, public ::testing::WithParamInterface<CancelWay> {};

TEST_P(AddCardCancel, RefreshesTheListWithNothingWritten) {
    Check([] {
        EXPECT_FALSE(Enabled(IDC_PROPERTIES));
        EXPECT_FALSE(Enabled(IDC_REMOVE));
    });
    OpenSettings();
    // Another program configures a card while the dialog is open.
    Check([this] { Build(PciCardKeys(1, 4, 3)); });
    if (GetParam().key == Key::Character) {
        screen.PushCharacter(GetParam().letter, GetParam().alt);
    } else {
        Press(GetParam().key);
    }
    ExpectList({"Card1\tPCI\t4\tCOM3\t"});
    Check([] {
        EXPECT_EQ(g_nCardCount, 1);
        EXPECT_TRUE(Enabled(IDC_PROPERTIES));
        EXPECT_TRUE(Enabled(IDC_REMOVE));
        EXPECT_TRUE(Enabled(IDC_ADD));
    });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
    EXPECT_EQ(g_nChangeCount, 0);
    EXPECT_EQ(CardDump(1), "  ZOVPortCount = dword:0x4\n" + PortDump(3, 4));
    EXPECT_FALSE(CardKeyExists(2));
}

INSTANTIATE_TEST_SUITE_P(Ways, AddCardCancel,
                         ::testing::Values(CancelWay{"CancelButton", Key::Character, true, U'c'},
                                           CancelWay{"Escape", Key::Escape, false, 0}),
                         [](const ::testing::TestParamInfo<CancelWay>& info) {
                             return info.param.name;
                         });

// --- The card limit ---------------------------------------------------------------------------

TEST_F(AddCardScenario, EighthCardDisablesAdd) {
    Build(PciCards(7));
    Check([] { EXPECT_TRUE(Enabled(IDC_ADD)); });
    OpenSettings();
    Press(Key::Enter);
    Check([] {
        ASSERT_EQ(Caption(), kListCaption);
        EXPECT_EQ(ListRows(IDC_CARD_LIST).size(), 8U);
        EXPECT_EQ(ListRows(IDC_CARD_LIST).back(), "Card8\tISA\t8\tCOM13\t");
        EXPECT_FALSE(Enabled(IDC_ADD));
    });
    Alt('a');  // a disabled button does not answer its mnemonic
    Check([] { EXPECT_EQ(Caption(), kListCaption); });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 1);
}

TEST_F(AddCardScenario, EightCardsAtStartLeaveAddDisabled) {
    Build(PciCards(8));
    Check([] { EXPECT_FALSE(Enabled(IDC_ADD)); });
    Alt('a');
    Check([] { EXPECT_EQ(Caption(), kListCaption); });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
}

class AddCardLimit : public AddCardScenario, public ::testing::WithParamInterface<Key> {};

// Nine card keys made by other means: Add is still enabled and shows the notice instead of the
// settings dialog; the list stays as it was, even when the registry changed meanwhile.
TEST_P(AddCardLimit, NoticeInsteadOfTheSettingsAndNoRefresh) {
    Build(PciCards(9));
    Check([] { EXPECT_TRUE(Enabled(IDC_ADD)); });
    Alt('a');
    Check([this] {
        EXPECT_EQ(Caption(), "Error Adding Card");
        // The notice wraps its first line.
        EXPECT_TRUE(Shows("There are already 8 cards installed on")) << screen.Text();
        EXPECT_TRUE(Shows("No additional cards can be added.")) << screen.Text();
        EXPECT_FALSE(IsWindowEnabled(GetWindow(Front(), GW_OWNER)));
        Build(PciCardKeys(10, 4, 200));
    });
    Press(GetParam());
    Check([] {
        ASSERT_EQ(Caption(), kListCaption);
        EXPECT_EQ(ListRows(IDC_CARD_LIST).size(), 9U) << "the list was refreshed";
        EXPECT_EQ(g_nCardCount, 9);
        EXPECT_TRUE(Enabled(IDC_ADD));
        EXPECT_TRUE(Enabled(IDC_REMOVE));
        EXPECT_TRUE(Enabled(IDC_PROPERTIES));
    });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, AddCardLimit, ::testing::Values(Key::Enter, Key::Escape),
                         [](const ::testing::TestParamInfo<Key>& info) {
                             return info.param == Key::Enter ? "Ok" : "Escape";
                         });

// --- A non-administrator ----------------------------------------------------------------------

Credentials NonAdministrator() {
    Credentials user = Credentials::OfProcess();
    user.gid = 4242;
    user.supplementary_groups = {4242};
    return user;
}

TEST_F(AddCardScenario, NonAdministratorFindsAddDisabled) {
    Build(PciCardKeys(1, 4, 3));
    ScopedProcessCredentials asUser(NonAdministrator());
    Check([] { EXPECT_FALSE(Enabled(IDC_ADD)); });
    Alt('a');
    Check([] { EXPECT_EQ(Caption(), kListCaption); });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
}

// Add never opens the dialog for a non-administrator, so the dialog is run on its own here.
class SettingsForNonAdministrator : public AddCardScenario {
  protected:
    void SetUp() override {
        AddCardScenario::SetUp();
        savedIsAdmin_ = g_bIsAdmin;
        g_bIsAdmin = FALSE;
        g_nCardCount = 0;
        g_nChangeCount = 0;
        AfxSetResourceHandle(ZovcfgInstance());
        AttachTerminal(&screen);
    }
    void TearDown() override {
        AttachTerminal(nullptr);
        AfxSetResourceHandle(nullptr);
        g_bIsAdmin = savedIsAdmin_;
        AddCardScenario::TearDown();
    }

  private:
    BOOL savedIsAdmin_ = FALSE;
};

TEST_F(SettingsForNonAdministrator, DoneIsDisabledAndNothingIsWritten) {
    CCardSettingsDlg settings;
    Check([] {
        ASSERT_EQ(Caption(), kSettingsCaption);
        EXPECT_FALSE(Enabled(IDOK));
        EXPECT_TRUE(Enabled(IDCANCEL));
    });
    Press(Key::Enter);  // the default button is disabled: nothing happens
    Alt('d');
    Check([] { EXPECT_EQ(Caption(), kSettingsCaption); });
    Press(Key::Escape);
    EXPECT_EQ(settings.DoModal(), IDCANCEL);
    EXPECT_FALSE(screen.RanDry());
    EXPECT_EQ(g_nChangeCount, 0);
    EXPECT_FALSE(CardKeyExists(1));
}

// --- A card key that appeared meanwhile -------------------------------------------------------

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
    ExpectList({"Card1\tPCI\t4\tCOM3\t", "Card2\tPCI\t4\tCOM7\t", "Card3\tPCI\t4\tCOM100\t"});
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
    EXPECT_EQ(g_nChangeCount, 0);
    EXPECT_EQ(CardDump(3), "  ZOVPortCount = dword:0x4\n" + PortDump(100, 4));
}

}  // namespace
}  // namespace zov::test
