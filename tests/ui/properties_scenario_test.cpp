// The properties dialog as a user meets it: the fields of ISA and PCI cards, a card that went
// away meanwhile, and the ways the dialog closes; and the texts it makes of stored numbers: base
// addresses of any stored size, the short hexadecimal of interrupts, buses and slots, and the
// decimal port count (five bytes, and the plain dword: PropertiesFields). (A user who is not an
// administrator: CardListScenario; properties read from a registry that cannot be changed:
// HostileEnvironmentTest in tests/integrity.)
#include <gtest/gtest.h>

#include "app_scenario.h"
#include "ui/card_property_texts.h"

namespace zov::test {
namespace {

using Bytes = std::vector<BYTE>;

// The little-endian bytes of a number, as a REG_DWORD holds it.
Bytes DwordBytes(DWORD value) {
    return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
            static_cast<BYTE>(value >> 24)};
}

struct TextCase {
    Bytes stored;
    std::string expected;
};

void ExpectTexts(std::string (*text)(const Bytes&), const std::vector<TextCase>& cases) {
    for (const TextCase& c : cases) {
        EXPECT_EQ(text(c.stored), c.expected) << "stored " << ::testing::PrintToString(c.stored);
    }
}

TEST(BaseAddressText, ShowsTheLowHalfOfTheStoredBytes) {
    Bytes fifteen(15, 0xFF);  // fifteen bytes are all a read takes: bytes 7 to 0 are shown
    fifteen[7] = 0x0C;
    ExpectTexts(BaseAddressText,
                {// A dword: the two low bytes, a zero byte written as two zeros.
                 {DwordBytes(0x3F0), "0x3f0"},
                 {DwordBytes(0xF0), "0x00f0"},
                 {DwordBytes(0x12345), "0x2345"},
                 // Other sizes: half of the bytes, odd sizes rounded up.
                 {{}, "0x"},
                 {{0x0A}, "0xa"},
                 {{0xF0, 0x03}, "0xf0"},
                 {{0xF0, 0x03, 0x07}, "0x3f0"},
                 {{0x01, 0x02, 0x03, 0x14, 0, 0, 0}, "0x14030201"},
                 {{0xF0, 0x03, 0x00, 0x00, 0x77, 0x77, 0x77, 0x77}, "0x000003f0"},
                 {{0x08, 0x03, 0x02, 0x01, 0, 0, 0, 0}, "0x1020308"},
                 {fifteen, "0xc" + std::string(14, 'f')}});
}

TEST(FirstByteTexts, ShowTheFirstByteOnlyAndNothingOfAnEmptyValue) {
    ExpectTexts(ShortHexText, {{DwordBytes(10), "0xa"},
                               {DwordBytes(200), "0xc8"},
                               {DwordBytes(0x12C), "0x2c"},
                               {{0xFF}, "0xff"},
                               {{}, ""}});
    ExpectTexts(FirstByteDecimalText, {{DwordBytes(300), "44"}, {{0x07, 0x01}, "7"}, {{}, ""}});
}

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

const FieldCase kCards[] = {
    // The third card, an ISA card.
    {PciCardKeys(1, 4, 3) + PciCardKeys(2, 4, 7) + IsaCardKeys(3, 8, 13, 0x3F0, 10),
     2,
     {"3", "0x3f0", "0xa", "8", "COM13", "", ""},
     false,
     Key::Enter},
    // PCI: bus and slot, no base address or IRQ.
    {PciCardKeys(1, 16, 5) + CardPath(1) + "\n  ZOVBus = dword:2\n  ZOVSlot = dword:11\n",
     0,
     {"1", "", "", "16", "COM5", "0x2", "0xb"},
     true},
    // Five bytes fit the reads of one-byte numbers, six do not; the base address shows half
    // of its bytes. A PCI card (five bytes of port count) shows the base address and IRQ it
    // holds.
    {CardKeys(1,
              "  ZOVPortCount = hex:10 00 00 00 00\n"
              "  ZOVBaseAddress = hex:01 02 03 04 05\n  ZOVIrq = hex:0a 00 00 00 00\n"
              "  ZOVBus = hex:02 00 00 00 00\n  ZOVSlot = hex:0b 00 00 00 00 00\n",
              4, 5),
     0,
     {"1", "0x30201", "0xa", "16", "COM5", "0x2", ""},
     true},
    {CardKeys(1, "  ZOVPortCount = hex:10 00 00 00 00 00\n", 4, 5),
     0,
     {"1", "", "", "4", "COM5", "", ""},
     false}};

INSTANTIATE_TEST_SUITE_P(Cards, PropertiesFields, ::testing::ValuesIn(kCards));

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
    ExpectBox("zovcfg", "Card Registry Not Found");
    Press(Key::Enter);
    ExpectFields({"1", "", "", "", "", "", ""}, true);
    Press(Key::Escape);
    ExpectCardList({}, LB_ERR);  // built again, without the card
    EXPECT_EQ(Leave(), 0);
}

}  // namespace
}  // namespace zov::test
