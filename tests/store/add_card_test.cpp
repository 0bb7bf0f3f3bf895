#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "registry_test_support.h"
#include "store/card_layout.h"
#include "store/new_card.h"
#include "store/new_card_commit.h"

namespace zov {
namespace {

constexpr const char* kParams = "SYSTEM\\CurrentControlSet\\Services\\ZOVCOM\\Parameters";

// A card key and its port keys in the fixture's notation; `values` are extra value lines.
std::string Card(int card, int ports, int firstCom, const std::string& values) {
    const std::string key = std::string(kParams) + "\\Card" + std::to_string(card);
    std::string text = key + "\n" + values;
    for (int port = 1; port <= ports; ++port) {
        text += key + "\\Port" + std::to_string(port) + "\n  DOSDeviceName = sz:COM" +
                std::to_string(firstCom + port - 1) + "\n";
    }
    return text;
}

std::string Isa(int card, int ports, int firstCom, unsigned base, unsigned irq) {
    return Card(card, ports, firstCom,
                "  ZOVBaseAddress = dword:" + std::to_string(base) +
                    "\n  ZOVIrq = dword:" + std::to_string(irq) + "\n");
}

std::string Pci(int card, int ports, int firstCom) {
    return Card(card, ports, firstCom, "  ZOVPortCount = dword:" + std::to_string(ports) + "\n");
}

NewCard IsaCard(const char* port, int portIndex, const char* base, const char* irq) {
    return DescribeNewCard(port, portIndex, 0, base, irq);
}

NewCard PciCard(const char* port, int portIndex) {
    return DescribeNewCard(port, portIndex, 1, "", "");
}

class AddCardTest : public test::RegistryTest {
  protected:
    std::string Params() { return Dump(kParams); }
};

TEST_F(AddCardTest, DerivedValuesFollowTheDialogChoices) {
    const NewCard isa = DescribeNewCard("COM13", 0, 0, "1A0", "10");
    EXPECT_TRUE(isa.isIsa);
    EXPECT_EQ(isa.firstCom, 13U);
    EXPECT_EQ(isa.portCount, 4U);
    EXPECT_EQ(isa.lastCom, 16U);
    EXPECT_EQ(isa.baseAddress, 0x1A0U);
    EXPECT_EQ(isa.irq, 10U);
    EXPECT_EQ(DescribeNewCard("COM132", 2, 1, "", "").lastCom, 147U);
    EXPECT_EQ(DescribeNewCard("COM1", 1, 7, "", "").portCount, 8U);
    EXPECT_FALSE(DescribeNewCard("COM1", 1, 7, "", "").isIsa);
    EXPECT_EQ(ComNumberOf("COM5"), 5U);
    EXPECT_EQ(ComNumberOf("COM132"), 132U);
    EXPECT_EQ(ComNumberOf("COMx"), 0U);
    EXPECT_EQ(ComNumberOf("CO"), 0U);
}

TEST_F(AddCardTest, FirstIsaCardIsWrittenExactly) {
    EXPECT_EQ(AddCard(IsaCard("COM13", 0, "2A0", "7"), 0), std::nullopt);
    EXPECT_EQ(Params(),
              "Card1\n"
              "  ZOVBaseAddress = dword:0x2A0\n"
              "  ZOVIrq = dword:0x7\n"
              "Card1\\Port1\n  DOSDeviceName = sz:COM13\n"
              "Card1\\Port2\n  DOSDeviceName = sz:COM14\n"
              "Card1\\Port3\n  DOSDeviceName = sz:COM15\n"
              "Card1\\Port4\n  DOSDeviceName = sz:COM16\n");
}

TEST_F(AddCardTest, PciCardGetsOnlyItsPortCountAndPorts) {
    Build(Isa(1, 4, 1, 0x200, 5));
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
    const char* text;
};

void PrintTo(const ConflictCase& c, std::ostream* out) {
    *out << c.name;
}

class AddCardConflictTest : public test::RegistryTest,
                            public ::testing::WithParamInterface<ConflictCase> {};

TEST_P(AddCardConflictTest, ReportsTheFirstConflictAndWritesNothing) {
    const ConflictCase& c = GetParam();
    Build(c.registry);
    const std::string before = Dump(kParams);
    const auto refusal = AddCard(c.card, c.cardCount);
    if (c.caption == nullptr) {
        EXPECT_EQ(refusal, std::nullopt) << refusal->text;
        return;
    }
    ASSERT_NE(refusal, std::nullopt);
    EXPECT_EQ(refusal->caption, c.caption);
    EXPECT_EQ(refusal->text, c.text);
    EXPECT_EQ(Dump(kParams), before);
}

const std::string kCard1Com13To20 = Pci(1, 8, 13);

INSTANTIATE_TEST_SUITE_P(
    Conflicts, AddCardConflictTest,
    ::testing::Values(
        ConflictCase{"BaseAddressOfCard2", Pci(1, 4, 1) + Isa(2, 4, 5, 0x1A0, 3), 2,
                     IsaCard("COM21", 0, "1A0", "5"), "Base Address Conflict",
                     "BaseAddress  1A0  conflicts with BaseAddress assigned to Card2.\n"
                     "Choose a different Base Address."},
        ConflictCase{"BaseAddressBeforeIrqOfTheSameCard", Isa(1, 4, 1, 0x200, 5), 1,
                     IsaCard("COM21", 0, "200", "5"), "Base Address Conflict",
                     "BaseAddress  200  conflicts with BaseAddress assigned to Card1.\n"
                     "Choose a different Base Address."},
        ConflictCase{"EarlierCardFirst", Isa(1, 4, 1, 0x300, 7) + Isa(2, 4, 5, 0x200, 3), 2,
                     IsaCard("COM21", 0, "200", "7"), "Irq Conflict",
                     "Irq 7  conflicts with Irq assigned to Card1.\nChoose a different Irq."},
        ConflictCase{"IsaCardWithoutIrqStillComparedOnBase",
                     Card(1, 4, 1, "  ZOVBaseAddress = dword:0x200\n"), 1,
                     IsaCard("COM21", 0, "200", "5"), "Base Address Conflict",
                     "BaseAddress  200  conflicts with BaseAddress assigned to Card1.\n"
                     "Choose a different Base Address."},
        ConflictCase{"PciCardNeverComparedOnResources",
                     Card(1, 4, 1,
                          "  ZOVPortCount = dword:4\n  ZOVBaseAddress = dword:0x200\n"
                          "  ZOVIrq = dword:5\n"),
                     1, IsaCard("COM21", 0, "200", "5"), nullptr, nullptr},
        ConflictCase{"NewPciCardNeverComparedOnResources", Isa(1, 4, 1, 0x200, 5), 1,
                     DescribeNewCard("COM21", 0, 1, "200", "5"), nullptr, nullptr},
        ConflictCase{"RangeOverlapsAtItsEnd", kCard1Com13To20, 1, PciCard("COM11", 0),
                     "Starting Port Conflict",
                     "COM11 to COM14 conflicts with ports assigned to Card1.\n"
                     "Choose a different Starting Port."},
        ConflictCase{"RangeStartsInside", kCard1Com13To20, 1, PciCard("COM20", 1),
                     "Starting Port Conflict",
                     "COM20 to COM27 conflicts with ports assigned to Card1.\n"
                     "Choose a different Starting Port."},
        ConflictCase{"RangeEndsInside", kCard1Com13To20, 1, PciCard("COM5", 2),
                     "Starting Port Conflict",
                     "COM5 to COM20 conflicts with ports assigned to Card1.\n"
                     "Choose a different Starting Port."},
        ConflictCase{"TouchingAboveIsFine", kCard1Com13To20, 1, PciCard("COM21", 1), nullptr,
                     nullptr},
        ConflictCase{"TouchingBelowIsFine", kCard1Com13To20, 1, PciCard("COM5", 1), nullptr,
                     nullptr},
        ConflictCase{"EnclosingRangeConflicts", Pci(1, 4, 13), 1, PciCard("COM12", 2),
                     "Starting Port Conflict",
                     "COM12 to COM27 conflicts with ports assigned to Card1.\n"
                     "Choose a different Starting Port."},
        ConflictCase{"IsaPortCountIsItsSubkeyCount", Isa(1, 8, 13, 0x300, 3), 1,
                     IsaCard("COM20", 0, "200", "5"), "Starting Port Conflict",
                     "COM20 to COM23 conflicts with ports assigned to Card1.\n"
                     "Choose a different Starting Port."},
        ConflictCase{"CardWithoutPortsHasAnEmptyRange", Card(1, 0, 1, ""), 1, PciCard("COM1", 2),
                     nullptr, nullptr},
        // Card 2 has no readable port name: its range is empty, not card 1's first port.
        ConflictCase{"UnreadablePortNameGivesAnEmptyRange",
                     Pci(1, 8, 13) + Card(2, 0, 0, "  ZOVPortCount = dword:16\n") +
                         std::string(kParams) + "\\Card2\\Port1\n",
                     2, PciCard("COM21", 1), nullptr, nullptr},
        ConflictCase{"CardsBeyondTheCensusAreNotChecked", Pci(1, 4, 1) + Pci(2, 4, 21), 1,
                     PciCard("COM21", 0), "Card Not Added",
                     "Card2 was not added: a card with this number has been configured "
                     "meanwhile, by another program.\nNothing was written. Cancel to see the "
                     "current list."}),
    [](const ::testing::TestParamInfo<ConflictCase>& info) { return info.param.name; });

TEST_F(AddCardTest, CardKeyThatAppearedMeanwhileIsLeftAlone) {
    Build(Pci(1, 4, 1) + Card(2, 0, 0, "  Foreign = dword:1\n"));
    const std::string before = Params();
    const auto refusal = AddCard(PciCard("COM5", 0), 1);
    ASSERT_NE(refusal, std::nullopt);
    EXPECT_EQ(refusal->caption, "Card Not Added");
    EXPECT_EQ(Params(), before);
}

TEST_F(AddCardTest, GapInNumberingIsFilledByTheNextCard) {
    Build(Pci(1, 4, 1) + Pci(3, 4, 9));
    EXPECT_EQ(AddCard(PciCard("COM5", 0), 1), std::nullopt);
    EXPECT_NE(Params().find("Card2\\Port4\n  DOSDeviceName = sz:COM8\n"), std::string::npos);
}

}  // namespace
}  // namespace zov
