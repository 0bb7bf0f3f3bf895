// Adding a card: the first conflict a new card meets, and a card asked for with automatic values:
// what `auto` chooses around the cards configured, and that a dry run or a refusal writes
// nothing. (A given base address in conflict: the "conflict" case of
// CardCommands.AddChecksChoosesAndWritesOnlyWhenAllowed.)
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "card_store_test.h"
#include "store/card_layout.h"
#include "store/new_card_commit.h"

namespace zov::test {
namespace {

using test::PrintTo;  // found by the cases' own namespace

NewCard IsaCard(const char* port, int portIndex, const char* base, const char* irq) {
    return DescribeNewCard(port, portIndex, 0, base, irq);
}

NewCard PciCard(const char* port, int portIndex) {
    return DescribeNewCard(port, portIndex, 1, "", "");
}

// The refusal of a range that collides with card 1's ports.
std::string PortConflict(const std::string& range) {
    return range + " conflicts with ports assigned to Card1.\nChoose a different Starting Port.";
}

std::string BaseConflict(const std::string& base, const std::string& card) {
    return "BaseAddress  " + base + "  conflicts with BaseAddress assigned to " + card +
           ".\nChoose a different Base Address.";
}

using AddCardTest = RegistryTest;

// Also: a gap in the numbering is filled by the next card.
TEST_F(AddCardTest, PciCardGetsOnlyItsPortCountAndPorts) {
    Build(IsaCardKeys(1, 4, 1, 0x200, 5) + PciCardKeys(3, 4, 9));
    EXPECT_EQ(AddCard(PciCard("COM130", 2), 1), std::nullopt);
    const std::string card2 = Dump(CardKeyPath(2));
    EXPECT_EQ(card2.substr(0, card2.find("Port1")), "  ZOVPortCount = dword:0x10\n");
    EXPECT_NE(card2.find("Port16\n  DOSDeviceName = sz:COM145\n"), std::string::npos);
    EXPECT_EQ(card2.find("Port17"), std::string::npos);
}

struct ConflictCase {
    const char* name;
    std::string registry;
    int cardCount;
    NewCard card;
    const char* caption;  // nullptr: no conflict
    std::string text;
};

class AddCardConflictTest : public RegistryTest,
                            public ::testing::WithParamInterface<ConflictCase> {};

TEST_P(AddCardConflictTest, ReportsTheFirstConflictAndWritesNothing) {
    const ConflictCase& c = GetParam();
    Build(c.registry);
    const std::string before = Dump(kParametersPath);
    const auto refusal = AddCard(c.card, c.cardCount);
    if (c.caption == nullptr) {
        EXPECT_EQ(refusal, std::nullopt) << refusal->text;
        return;
    }
    ASSERT_NE(refusal, std::nullopt);
    EXPECT_EQ(refusal->caption, c.caption);
    EXPECT_EQ(refusal->text, c.text);
    EXPECT_EQ(Dump(kParametersPath), before);
}

const std::string kCard1Com13To20 = PciCardKeys(1, 8, 13);
const std::string kCard2Meanwhile =
    "Card2 was not added: a card with this number has been configured meanwhile, by another "
    "program.\nNothing was written. Cancel to see the current list.";

const ConflictCase kConflicts[] = {
    {"BaseAddressOfCard2", PciCardKeys(1, 4, 1) + IsaCardKeys(2, 4, 5, 0x1A0, 3), 2,
     IsaCard("COM21", 0, "1A0", "5"), "Base Address Conflict", BaseConflict("1A0", "Card2")},
    {"BaseAddressBeforeIrqOfTheSameCard", IsaCardKeys(1, 4, 1, 0x200, 5), 1,
     IsaCard("COM21", 0, "200", "5"), "Base Address Conflict", BaseConflict("200", "Card1")},
    {"EarlierCardFirst", IsaCardKeys(1, 4, 1, 0x300, 7) + IsaCardKeys(2, 4, 5, 0x200, 3), 2,
     IsaCard("COM21", 0, "200", "7"), "Irq Conflict",
     "Irq 7  conflicts with Irq assigned to Card1.\nChoose a different Irq."},
    {"IsaCardWithoutIrqStillComparedOnBase", CardKeys(1, "  ZOVBaseAddress = dword:0x200\n", 4, 1),
     1, IsaCard("COM21", 0, "200", "5"), "Base Address Conflict", BaseConflict("200", "Card1")},
    {"PciCardNeverComparedOnResources",
     PciCardKeys(1, 4, 1) + CardPath(1) + "\n  ZOVBaseAddress = dword:0x200\n  ZOVIrq = dword:5\n",
     1, IsaCard("COM21", 0, "200", "5"), nullptr, ""},
    {"NewPciCardNeverComparedOnResources", IsaCardKeys(1, 4, 1, 0x200, 5), 1,
     DescribeNewCard("COM21", 0, 1, "200", "5"), nullptr, ""},
    {"RangeOverlapsAtItsEnd", kCard1Com13To20, 1, PciCard("COM11", 0), "Starting Port Conflict",
     PortConflict("COM11 to COM14")},
    {"RangeStartsInside", kCard1Com13To20, 1, PciCard("COM20", 1), "Starting Port Conflict",
     PortConflict("COM20 to COM27")},
    {"TouchingIsFine", kCard1Com13To20, 1, PciCard("COM21", 1), nullptr, ""},
    {"EnclosingRangeConflicts", PciCardKeys(1, 4, 13), 1, PciCard("COM12", 2),
     "Starting Port Conflict", PortConflict("COM12 to COM27")},
    {"IsaPortCountIsItsSubkeyCount", IsaCardKeys(1, 8, 13, 0x300, 3), 1,
     IsaCard("COM20", 0, "200", "5"), "Starting Port Conflict", PortConflict("COM20 to COM23")},
    // The checks read each number into four bytes: a longer value is not there.
    {"FiveBytePortCountLeavesTheCardIsa",
     CardKeys(1,
              "  ZOVPortCount = hex:10 00 00 00 00\n"
              "  ZOVBaseAddress = dword:0x200\n  ZOVIrq = dword:5\n",
              4, 1),
     1, IsaCard("COM5", 0, "200", "7"), "Base Address Conflict", BaseConflict("200", "Card1")},
    {"FiveBytePortCountLeavesTheSubkeyCount",
     CardKeys(1, "  ZOVPortCount = hex:10 00 00 00 00\n", 4, 1), 1, PciCard("COM5", 0), nullptr,
     ""},
    {"FiveByteBaseAddressIsNotCompared",
     CardKeys(1, "  ZOVBaseAddress = hex:00 02 00 00 00\n  ZOVIrq = dword:5\n", 4, 1), 1,
     IsaCard("COM21", 0, "200", "5"), "Irq Conflict",
     "Irq 5  conflicts with Irq assigned to Card1.\nChoose a different Irq."},
    {"CardWithoutPortsHasAnEmptyRange", CardKeys(1, "", 0, 0), 1, PciCard("COM1", 2), nullptr, ""},
    // Card 2 has no readable port name: its range is empty, not card 1's first port.
    {"UnreadablePortNameGivesAnEmptyRange",
     PciCardKeys(1, 8, 13) + CardKeys(2, "  ZOVPortCount = dword:16\n", 0, 0) + CardPath(2) +
         "\\Port1\n",
     2, PciCard("COM21", 1), nullptr, ""},
    // A card key that appeared after the census is left alone, and refused before any conflict.
    {"CardsBeyondTheCensusAreNotChecked", PciCardKeys(1, 4, 1) + PciCardKeys(2, 4, 21), 1,
     PciCard("COM21", 0), "Card Not Added", kCard2Meanwhile}};

INSTANTIATE_TEST_SUITE_P(Conflicts, AddCardConflictTest, ::testing::ValuesIn(kConflicts),
                         kCaseName);

NewCardRequest Isa(uint32_t ports, std::optional<DWORD> base = std::nullopt,
                   std::optional<DWORD> irq = std::nullopt,
                   std::optional<uint32_t> com = std::nullopt) {
    return {true, ports, com, base, irq};
}

NewCardRequest Pci(uint32_t ports, std::optional<uint32_t> com = std::nullopt) {
    return {false, ports, com, std::nullopt, std::nullopt};
}

struct AutoCase {
    const char* name;
    std::string registry;
    NewCardRequest request;
    // The card chosen: base address, interrupt and first COM number, or the refusal's caption.
    DWORD base;
    DWORD irq;
    uint32_t firstCom;
    const char* refusal;  // nullptr: added
};

class RequestedCardTest : public RegistryTest, public ::testing::WithParamInterface<AutoCase> {};

TEST_P(RequestedCardTest, AutoTakesTheFirstListedValueThatPassesEveryCheck) {
    const AutoCase& c = GetParam();
    Build(c.registry);
    const std::string before = Dump(kParametersPath);

    const CardAddition planned = AddRequestedCard(c.request, true);
    EXPECT_EQ(Dump(kParametersPath), before) << "a dry run wrote";
    const CardAddition added = AddRequestedCard(c.request, false);
    ASSERT_EQ(planned.refusal.has_value(), added.refusal.has_value());
    EXPECT_EQ(planned.card.firstCom, added.card.firstCom);

    if (c.refusal != nullptr) {
        ASSERT_TRUE(added.refusal.has_value());
        EXPECT_EQ(added.refusal->caption, c.refusal);
        EXPECT_EQ(Dump(kParametersPath), before);
        return;
    }
    ASSERT_FALSE(added.refusal.has_value()) << added.refusal->text;
    EXPECT_EQ(added.card.firstCom, c.firstCom);
    if (c.request.isIsa) {
        EXPECT_EQ(added.card.baseAddress, c.base);
        EXPECT_EQ(added.card.irq, c.irq);
    }
    // Written as the next card, with exactly the values chosen.
    EXPECT_NE(Dump(CardPath(added.number))
                  .find("Port1\n  DOSDeviceName = sz:COM" + std::to_string(c.firstCom) + "\n"),
              std::string::npos);
}

const AutoCase kAutoCases[] = {
    {"NoCardsTakesTheFirstOfEachList", "", Isa(8), 0x100, 2, 1, nullptr},
    {"SkipsTakenResourcesAndPorts",
     IsaCardKeys(1, 8, 1, 0x100, 2) + IsaCardKeys(2, 4, 9, 0x110, 3) + PciCardKeys(3, 4, 17) +
         CardPath(3) + "\n  ZOVBaseAddress = dword:0x120\n  ZOVIrq = dword:4\n",
     Isa(4), 0x120, 4, 13, nullptr},
    {"FitsAHoleOnlyWhenTheCardFits", PciCardKeys(1, 4, 1) + PciCardKeys(2, 8, 9), Pci(8), 0, 0, 17,
     nullptr},
    {"GivenValuesStay", IsaCardKeys(1, 4, 1, 0x200, 5), Isa(4, 0x3F0, std::nullopt, 40), 0x3F0, 2,
     40, nullptr},
    {"AGivenPortInConflictIsRefused", PciCardKeys(1, 4, 1), Isa(4, std::nullopt, std::nullopt, 3),
     0, 0, 0, "Starting Port Conflict"},
    {"NinthCardIsRefused", PciCards(8), Pci(4), 0, 0, 0, "Error Adding Card"}};

INSTANTIATE_TEST_SUITE_P(AroundExistingCards, RequestedCardTest, ::testing::ValuesIn(kAutoCases),
                         kCaseName);

}  // namespace
}  // namespace zov::test
