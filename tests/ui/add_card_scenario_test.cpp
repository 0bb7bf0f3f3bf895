// Adding a card as a user does it: the Add command, the settings dialog with its lists and radio
// groups, the conflict boxes, the card limit and what ends up in the registry.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <utility>

#include "app_scenario.h"
#include "cli/card_commands.h"

namespace zov::test {
namespace {

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
            ASSERT_EQ(Caption(), "ZOV Card Settings");
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

    // With the focus in the base-address list: picks "2A0", "7" and "COM21", the way a
    // keyboard user does.
    void PickIsaChoices() {
        PressTimes(Key::Down, 10);  // "200" -> "2A0"
        Press(Key::Tab);
        Press(Key::F4);  // open the interrupt list, step down once, take it
        Press(Key::Down);
        Press(Key::Enter);
        Press(Key::Tab);
        PressTimes(Key::Down, 8);  // "COM13" -> "COM21"
    }
};

TEST_F(AddCardScenario, TypicalRunWritesTheThirdCardAndEndsWithOne) {
    Build(IsaCardKeys(1, 8, 3, 0x300, 10) + PciCardKeys(2, 4, 11));
    OpenSettings();
    Check([] {
        EXPECT_FALSE(IsWindowEnabled(GetWindow(Front(), GW_OWNER)))
            << "the card list stays disabled under the settings dialog";
    });
    PickIsaChoices();  // which starts in the base-address list: the focus is there
    ExpectSettings(kPicked);
    Press(Key::Enter);
    ExpectCardList({"Card1\tISA\t8\tCOM3\t", "Card2\tPCI\t4\tCOM11\t", "Card3\tISA\t8\tCOM21\t"}, 0,
                   "PAR");
    Check([] { EXPECT_EQ(g_nChangeCount, 1); });
    EXPECT_EQ(Leave(), 1);
    EXPECT_EQ(Parameters(), LayoutOf(IsaCardKeys(1, 8, 3, 0x300, 10) + PciCardKeys(2, 4, 11) +
                                     IsaCardKeys(3, 8, 21, 0x2A0, 7)));
}

// Writes a PCI card, whose lists show nothing and stay off; ISA brings back the defaults, not
// what was picked before.
TEST_F(AddCardScenario, PciTurnsBothListsOffAndIsaBringsTheDefaultsBack) {
    OpenSettings();
    PressTimes(Key::Down, 10);  // "2A0"
    PressTimes(Key::Tab, 4);    // to "ISA", the set button of its group
    const auto expectPci = [this] {
        Check([] {
            EXPECT_TRUE(Checked(IDC_BUS_PCI));
            for (const int list : {IDC_BASE_ADDRESS, IDC_IRQ}) {
                EXPECT_FALSE(Enabled(list)) << list;
                EXPECT_EQ(ComboText(list), "") << list;
            }
        });
    };
    Press(Key::Down);
    expectPci();
    Press(Key::Up);
    ExpectSettings(kDefaults);
    Press(Key::Down);
    expectPci();
    Press(Key::Enter);
    ExpectCardList({"Card1\tPCI\t8\tCOM13\t"}, 0, "PAR");
    EXPECT_EQ(Leave(), 1);
    EXPECT_EQ(Parameters(), LayoutOf(PciCardKeys(1, 8, 13)));
}

// The caption and text of the card command's refusal of the dialog's choices below.
std::pair<std::string, std::string> RefusalOfTheCommand() {
    std::string words[] = {"zovcfg", "add",     "isa", "--base", "2A0",   "--irq",
                           "7",      "--ports", "16",  "--com",  "COM21", "--json"};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::RunCardCommands(static_cast<int>(argv.size()), argv.data(), out, err), 3);
    const nlohmann::json error = nlohmann::json::parse(out.str()).at("error");
    return {error.at("caption").get<std::string>(), error.at("message").get<std::string>()};
}

// The choices are "2A0", "7", "COM21" and 16 ports (COM21 to COM36), which collide with the ports
// of the one card there. The box says what the card command says, since both take the refusal
// from the card store. (Each kind of conflict and its text: AddCardConflictTest in tests/store;
// the dialog shows any refusal of the store the same way.)
TEST_F(AddCardScenario, ConflictBoxOverTheOpenDialogKeepsEveryChoiceAndSaysWhatTheCommandSays) {
    Build(PciCardKeys(1, 8, 30));
    const std::string before = Parameters();
    const std::pair<std::string, std::string> command = RefusalOfTheCommand();
    EXPECT_EQ(command.first, "Starting Port Conflict");
    Choices chosen = kPicked;
    chosen.portCountButton = IDC_PORTS_16;
    OpenSettings();
    PickIsaChoices();
    Press(Key::Tab);  // to "8 Ports", the set button of its group
    Press(Key::Down);
    ExpectSettings(chosen);
    Alt('d');
    Check([this, command] {
        EXPECT_EQ(Caption(), command.first);
        EXPECT_EQ(ControlText(IDC_STATIC), command.second);
        EXPECT_TRUE(Shows("COM21 to COM36")) << screen.Text();
        const HWND owner = GetWindow(Front(), GW_OWNER);
        ASSERT_NE(owner, nullptr);
        EXPECT_NE(GetDlgItem(owner, IDC_BUS_PCI), nullptr) << "the box belongs to the settings";
    });
    Press(Key::Enter);
    ExpectSettings(chosen);
    Alt('c');
    ExpectCardList({"Card1\tPCI\t8\tCOM30\t"});
    EXPECT_EQ(Leave(), 0);
    EXPECT_EQ(Parameters(), before);
}

// Nine card keys made by other means: Add is still enabled and shows the notice instead of the
// settings dialog; the list stays as it was, even when the registry changed meanwhile.
TEST_F(AddCardScenario, CardLimitShowsANoticeInsteadOfTheSettingsAndDoesNotRefresh) {
    Build(PciCards(9, 104));
    Check([] { EXPECT_TRUE(Enabled(IDC_ADD)); });
    Alt('a');
    ExpectBox("Error Adding Card", "No additional cards can be added.");
    Check([this] {
        EXPECT_FALSE(IsWindowEnabled(GetWindow(Front(), GW_OWNER)));
        Build(PciCardKeys(10, 4, 200));
    });
    Press(Key::Enter);
    Check([] {
        ASSERT_EQ(Caption(), " Tarnell ZOV Cards");
        EXPECT_EQ(ListRows(IDC_CARD_LIST).size(), 9U) << "the list was refreshed";
        EXPECT_EQ(g_nCardCount, 9);
    });
    EXPECT_EQ(Leave(), 0);
}

}  // namespace
}  // namespace zov::test
