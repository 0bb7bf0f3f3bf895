// The Properties command as a user meets it: the fields of ISA and PCI cards, a card that went
// away meanwhile, and the ways the dialog closes. (A user who is not an administrator:
// CardListScenario; properties read from a registry that cannot be changed:
// HostileEnvironmentTest in tests/integrity.)
#include <gtest/gtest.h>

#include <string>

#include "app_scenario.h"
#include "store/card_globals.h"
#include "ui/res/resource.h"

namespace zov::test {
namespace {

constexpr const char* kPropertiesCaption = "Card Properties";
constexpr int kFieldIds[] = {IDC_EDIT_CARD_NUMBER, IDC_EDIT_BASE_ADDRESS,  IDC_EDIT_IRQ,
                             IDC_EDIT_PORT_COUNT,  IDC_EDIT_STARTING_PORT, IDC_EDIT_PCI_BUS,
                             IDC_EDIT_PCI_SLOT};

class PropertiesScenario : public AppScenario {
  protected:
    // Checks, when the input reaches it, that the properties dialog is in front with these texts
    // (card number, base address, IRQ, port count, starting port, PCI bus and slot) and the two
    // PCI edits enabled or not.
    void ExpectFields(const Rows& expected, bool pciEditsEnabled) {
        Check([expected, pciEditsEnabled] {
            ASSERT_EQ(Caption(), kPropertiesCaption);
            Rows texts;
            for (const int id : kFieldIds) {
                texts.push_back(ControlText(id));
            }
            EXPECT_EQ(texts, expected);
            EXPECT_EQ(Enabled(IDC_EDIT_PCI_BUS), pciEditsEnabled);
            EXPECT_EQ(Enabled(IDC_EDIT_PCI_SLOT), pciEditsEnabled);
        });
    }
};

struct FieldCase {
    std::string registry;
    int row;  // selected with the arrow keys
    Rows texts;
    bool pciEditsEnabled;
    Key close = Key::Escape;  // OK (Enter) or Cancel (Escape)
};

class PropertiesFields : public PropertiesScenario,
                         public ::testing::WithParamInterface<FieldCase> {};

// Closed by OK or Cancel, the dialog leaves the registry as it was and card 1 selected again.
TEST_P(PropertiesFields, ShowTheStoredValues) {
    Build(GetParam().registry);
    const std::string before = Parameters();
    PressTimes(Key::Down, GetParam().row);
    Alt('p');
    ExpectFields(GetParam().texts, GetParam().pciEditsEnabled);
    Press(GetParam().close);
    Check([] { EXPECT_EQ(ListSelection(IDC_CARD_LIST), 0); });
    EXPECT_EQ(Leave(), 0);
    EXPECT_EQ(g_nChangeCount, 0);
    EXPECT_EQ(Parameters(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cards, PropertiesFields,
    ::testing::Values(
        // The third card, an ISA card.
        FieldCase{PciCardKeys(1, 4, 3) + PciCardKeys(2, 4, 7) + IsaCardKeys(3, 8, 13, 0x3F0, 10),
                  2,
                  {"3", "0x3f0", "0xa", "8", "COM13", "", ""},
                  false,
                  Key::Enter},
        // PCI: bus and slot, no base address or IRQ.
        FieldCase{
            PciCardKeys(1, 16, 5) + CardPath(1) + "\n  ZOVBus = dword:2\n  ZOVSlot = dword:11\n",
            0,
            {"1", "", "", "16", "COM5", "0x2", "0xb"},
            true},
        // Five bytes fit the reads of one-byte numbers, six do not; the base address shows half
        // of its bytes. A PCI card (five bytes of port count) shows the base address and IRQ it
        // holds.
        FieldCase{CardKeys(1,
                           "  ZOVPortCount = hex:10 00 00 00 00\n"
                           "  ZOVBaseAddress = hex:01 02 03 04 05\n  ZOVIrq = hex:0a 00 00 00 00\n"
                           "  ZOVBus = hex:02 00 00 00 00\n  ZOVSlot = hex:0b 00 00 00 00 00\n",
                           4, 5),
                  0,
                  {"1", "0x30201", "0xa", "16", "COM5", "0x2", ""},
                  true},
        FieldCase{CardKeys(1, "  ZOVPortCount = hex:10 00 00 00 00 00\n", 4, 5),
                  0,
                  {"1", "", "", "4", "COM5", "", ""},
                  false}));

TEST_F(PropertiesScenario, CardRemovedAfterTheListWasBuiltShowsOnlyItsNumber) {
    Build(PciCardKeys(1, 2, 3) + CardPath(1) + "\n  ZOVBus = dword:2\n  ZOVSlot = dword:11\n");
    Check([this] {
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
    ExpectFields({"1", "", "", "", "", "", ""}, true);
    Press(Key::Escape);
    ExpectCardList({}, LB_ERR);  // built again, without the card
    EXPECT_EQ(Leave(), 0);
}

}  // namespace
}  // namespace zov::test
