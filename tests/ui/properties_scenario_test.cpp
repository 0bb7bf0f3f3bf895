// The Properties command as a user meets it: the fields of ISA and PCI cards, a card that went
// away meanwhile, a user who may only read, and the ways the dialog closes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ostream>
#include <string>

#include "app_scenario.h"
#include "platform/registry/registry_database.h"
#include "store/card_globals.h"
#include "ui/res/resource.h"

namespace zov::test {
namespace {

constexpr const char* kListCaption = " Tarnell ZOV Cards";
constexpr const char* kPropertiesCaption = "Card Properties";

std::string CardPath(int card) {
    return std::string(kParametersPath) + "\\Card" + std::to_string(card);
}

// What the properties dialog shows, field by field.
struct Fields {
    std::string cardNumber;
    std::string baseAddress;
    std::string irq;
    std::string portCount;
    std::string startingPort;
    std::string pciBus;
    std::string pciSlot;
    bool pciEditsEnabled = false;
};

class PropertiesScenario : public AppScenario {
  protected:
    // Checks, when the input reaches it, that the properties dialog is in front with these fields.
    void ExpectFields(const Fields& expected) {
        Check([expected] {
            ASSERT_EQ(Caption(), kPropertiesCaption);
            EXPECT_EQ(ControlText(IDC_EDIT_CARD_NUMBER), expected.cardNumber);
            EXPECT_EQ(ControlText(IDC_EDIT_BASE_ADDRESS), expected.baseAddress);
            EXPECT_EQ(ControlText(IDC_EDIT_IRQ), expected.irq);
            EXPECT_EQ(ControlText(IDC_EDIT_PORT_COUNT), expected.portCount);
            EXPECT_EQ(ControlText(IDC_EDIT_STARTING_PORT), expected.startingPort);
            EXPECT_EQ(ControlText(IDC_EDIT_PCI_BUS), expected.pciBus);
            EXPECT_EQ(ControlText(IDC_EDIT_PCI_SLOT), expected.pciSlot);
            EXPECT_EQ(Enabled(IDC_EDIT_PCI_BUS), expected.pciEditsEnabled);
            EXPECT_EQ(Enabled(IDC_EDIT_PCI_SLOT), expected.pciEditsEnabled);
        });
    }

    // Opens the properties of the selected row, checks them, cancels, and closes the card list.
    void ShowPropertiesOfSelectedRow(const Fields& expected) {
        Alt('p');
        ExpectFields(expected);
        Press(Key::Escape);
        Check([] { EXPECT_EQ(Caption(), kListCaption); });
        Press(Key::Escape);
    }

    // Runs the utility and makes sure every queued key and check was used, so that no check is
    // left behind unrun.
    int Run() {
        const int exitCode = RunApp();
        EXPECT_EQ(screen.PendingEvents(), 0) << "input left over when the utility ended";
        return exitCode;
    }
};

TEST_F(PropertiesScenario, IsaCardThreeSelectedWithTheArrowKeys) {
    Build(PciCardKeys(1, 4, 3) + PciCardKeys(2, 4, 7) + IsaCardKeys(3, 8, 13, 0x3F0, 10));
    Press(Key::Down);
    Press(Key::Down);
    Check([] { EXPECT_EQ(ListSelection(IDC_CARD_LIST), 2); });
    ShowPropertiesOfSelectedRow({.cardNumber = "3",
                                 .baseAddress = "0x3f0",
                                 .irq = "0xa",
                                 .portCount = "8",
                                 .startingPort = "COM13",
                                 .pciBus = "",
                                 .pciSlot = "",
                                 .pciEditsEnabled = false});
    EXPECT_EQ(Run(), 0);
}

TEST_F(PropertiesScenario, PciCardShowsBusAndSlotButNoBaseAddressOrIrq) {
    Build(PciCardKeys(1, 16, 5) + CardPath(1) + "\n  ZOVBus = dword:2\n  ZOVSlot = dword:11\n");
    ShowPropertiesOfSelectedRow({.cardNumber = "1",
                                 .baseAddress = "",
                                 .irq = "",
                                 .portCount = "16",
                                 .startingPort = "COM5",
                                 .pciBus = "0x2",
                                 .pciSlot = "0xb",
                                 .pciEditsEnabled = true});
    EXPECT_EQ(Run(), 0);
}

TEST_F(PropertiesScenario, PciCardWithBaseAddressAndIrqShowsThemToo) {
    Build(PciCardKeys(1, 8, 3) + CardPath(1) +
          "\n  ZOVBaseAddress = dword:0x308\n  ZOVIrq = dword:17\n");
    ShowPropertiesOfSelectedRow({.cardNumber = "1",
                                 .baseAddress = "0x308",
                                 .irq = "0x11",
                                 .portCount = "8",
                                 .startingPort = "COM3",
                                 .pciBus = "",
                                 .pciSlot = "",
                                 .pciEditsEnabled = true});
    EXPECT_EQ(Run(), 0);
}

TEST_F(PropertiesScenario, IsaCardCountsEverySubkeyAsAPort) {
    Build(IsaCardKeys(1, 4, 3, 0x2A0, 7) + CardPath(1) + "\\Diagnostics\n");
    ShowPropertiesOfSelectedRow({.cardNumber = "1",
                                 .baseAddress = "0x2a0",
                                 .irq = "0x7",
                                 .portCount = "5",
                                 .startingPort = "COM3",
                                 .pciBus = "",
                                 .pciSlot = "",
                                 .pciEditsEnabled = false});
    EXPECT_EQ(Run(), 0);
}

TEST_F(PropertiesScenario, CardRemovedAfterTheListWasBuiltShowsOnlyItsNumber) {
    Build(PciCardKeys(1, 2, 3) + CardPath(1) + "\n  ZOVBus = dword:2\n  ZOVSlot = dword:11\n");
    Check([this] {
        ASSERT_EQ(ListRows(IDC_CARD_LIST).size(), 1U);
        // Another program removes the card while the list still shows it.
        HKEY parameters = Open(kParametersPath);
        EXPECT_EQ(RegDeleteKeyA(parameters, "Card1\\Port1"), ERROR_SUCCESS);
        EXPECT_EQ(RegDeleteKeyA(parameters, "Card1\\Port2"), ERROR_SUCCESS);
        EXPECT_EQ(RegDeleteKeyA(parameters, "Card1"), ERROR_SUCCESS);
        RegCloseKey(parameters);
    });
    Alt('p');
    Check([this] {
        EXPECT_EQ(Caption(), "zovcfg");
        EXPECT_TRUE(Shows("Card Registry Not Found")) << screen.Text();
    });
    Press(Key::Enter);
    ExpectFields({.cardNumber = "1",
                  .baseAddress = "",
                  .irq = "",
                  .portCount = "",
                  .startingPort = "",
                  .pciBus = "",
                  .pciSlot = "",
                  .pciEditsEnabled = true});
    Press(Key::Escape);
    // The list is built again and no longer holds the card.
    Check([] {
        EXPECT_EQ(Caption(), kListCaption);
        EXPECT_TRUE(ListRows(IDC_CARD_LIST).empty());
    });
    Press(Key::Escape);
    EXPECT_EQ(Run(), 0);
}

TEST_F(PropertiesScenario, UserWhoMayOnlyReadTheRegistrySeesTheStoredValues) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to drop to another user";
    }
    Build(IsaCardKeys(1, 8, 13, 0x3F0, 10));
    CloseRegistryDatabase();
    // nobody reaches the database but may not write it.
    ASSERT_EQ(chmod(Dir().c_str(), 0755), 0);
    ASSERT_EQ(chmod(DatabasePath().c_str(), 0644), 0);
    const std::string before = Parameters();
    CloseRegistryDatabase();

    const int childResult = RunInChild([this] {
        if (!BecomeNobody()) {
            return 2;
        }
        Check([] {
            // A user who may only read is no administrator: Add and Remove are off.
            EXPECT_FALSE(Enabled(IDC_ADD));
            EXPECT_FALSE(Enabled(IDC_REMOVE));
        });
        // The fields are checked with the properties dialog in front, not a message box.
        ShowPropertiesOfSelectedRow({.cardNumber = "1",
                                     .baseAddress = "0x3f0",
                                     .irq = "0xa",
                                     .portCount = "8",
                                     .startingPort = "COM13",
                                     .pciBus = "",
                                     .pciSlot = "",
                                     .pciEditsEnabled = false});
        const int exitCode = Run();
        EXPECT_EQ(exitCode, 0);
        return ::testing::Test::HasFailure() ? 1 : 0;
    });
    EXPECT_EQ(childResult, 0) << "the run as nobody failed (1: a check, 2: could not drop)";
    EXPECT_EQ(Parameters(), before);
}

TEST_F(PropertiesScenario, EightByteBaseAddressIsRefusedByOkButCancelCloses) {
    Build(PciCardKeys(1, 4, 3) + CardPath(1) +
          "\n  ZOVBaseAddress = hex:f0 03 00 00 00 00 00 00\n");
    Alt('p');
    Check([] {
        ASSERT_EQ(Caption(), kPropertiesCaption);
        EXPECT_EQ(ControlText(IDC_EDIT_BASE_ADDRESS), "0x000003f0");
    });
    Press(Key::Enter);
    Check([this] {
        EXPECT_EQ(Caption(), "zovcfg");
        EXPECT_TRUE(Shows("Please enter no more than 8 characters.")) << screen.Text();
    });
    Press(Key::Enter);
    Check([] {
        ASSERT_EQ(Caption(), kPropertiesCaption);
        HWND edit = GetDlgItem(Front(), IDC_EDIT_BASE_ADDRESS);
        EXPECT_EQ(GetFocus(), edit);
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0U);
        EXPECT_EQ(end, 10U);
    });
    // Enter in the edit presses OK again, which refuses again.
    Press(Key::Enter);
    Check([] { EXPECT_EQ(Caption(), "zovcfg"); });
    Press(Key::Enter);
    Press(Key::Escape);
    Check([] { EXPECT_EQ(Caption(), kListCaption); });
    Press(Key::Escape);
    EXPECT_EQ(Run(), 0);
}

// A way to close the properties dialog, pressed while it is in front.
struct WayOut {
    const char* name;
    std::function<void(MemoryTerminal&)> close;
};

void PrintTo(const WayOut& way, std::ostream* out) {
    *out << way.name;
}

class PropertiesWayOut : public PropertiesScenario, public ::testing::WithParamInterface<WayOut> {};

TEST_P(PropertiesWayOut, LeavesTheRegistryAsItWasAndSelectsCardOneAgain) {
    Build(PciCardKeys(1, 4, 3) + IsaCardKeys(2, 8, 7, 0x300, 5));
    const std::string before = Parameters();
    Press(Key::Down);
    Alt('p');
    Check([] {
        ASSERT_EQ(Caption(), kPropertiesCaption);
        EXPECT_EQ(ControlText(IDC_EDIT_CARD_NUMBER), "2");
    });
    GetParam().close(screen);
    Check([] {
        ASSERT_EQ(Caption(), kListCaption);
        EXPECT_EQ(ListRows(IDC_CARD_LIST).size(), 2U);
        EXPECT_EQ(ListSelection(IDC_CARD_LIST), 0);
    });
    Press(Key::Escape);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(g_nChangeCount, 0);
    EXPECT_EQ(Parameters(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PropertiesWayOut,
    ::testing::Values(WayOut{"OkByEnter", [](MemoryTerminal& s) { s.PushKey(Key::Enter); }},
                      WayOut{"CancelByEscape", [](MemoryTerminal& s) { s.PushKey(Key::Escape); }},
                      WayOut{"CancelButton",
                             [](MemoryTerminal& s) {
                                 // The focus starts on OK; Cancel is next in the tab order.
                                 s.PushKey(Key::Tab);
                                 s.PushKey(Key::Enter);
                             }}),
    [](const ::testing::TestParamInfo<WayOut>& info) { return info.param.name; });

}  // namespace
}  // namespace zov::test
