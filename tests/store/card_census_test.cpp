#include "store/card_census.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry_test_support.h"
#include "store/card_key_reader.h"
#include "store/card_layout.h"

namespace zov {
namespace {

using Rows = std::vector<std::string>;

constexpr const char* kParams = "SYSTEM\\CurrentControlSet\\Services\\ZOVCOM\\Parameters";

// Card keys in the registry notation of the fixture, relative to the Parameters key.
std::string Under(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        if (!line.empty() && line[0] != ' ') {
            out += std::string(kParams) + "\\" + line + "\n";
        } else {
            out += line + "\n";
        }
        start = end + 1;
    }
    return out;
}

// An ISA card key with `ports` port keys numbered from `firstCom`.
std::string IsaCard(int card, int ports, int firstCom) {
    std::string text = "Card" + std::to_string(card) + "\n  ZOVBaseAddress = dword:0x2A0\n" +
                       "  ZOVIrq = dword:7\n";
    for (int port = 1; port <= ports; ++port) {
        text += "Card" + std::to_string(card) + "\\Port" + std::to_string(port) +
                "\n  DOSDeviceName = sz:COM" + std::to_string(firstCom + port - 1) + "\n";
    }
    return text;
}

std::string PciCard(int card, int ports, int firstCom) {
    std::string text =
        "Card" + std::to_string(card) + "\n  ZOVPortCount = dword:" + std::to_string(ports) + "\n";
    for (int port = 1; port <= ports; ++port) {
        text += "Card" + std::to_string(card) + "\\Port" + std::to_string(port) +
                "\n  DOSDeviceName = sz:COM" + std::to_string(firstCom + port - 1) + "\n";
    }
    return text;
}

class CardCensusTest : public test::RegistryTest {};

TEST_F(CardCensusTest, EmptyRegistryListsNothing) {
    const CardCensus census = TakeCardCensus();
    EXPECT_TRUE(census.rows.empty());
    EXPECT_EQ(census.cardCount, 0);
}

TEST_F(CardCensusTest, CompleteCardsAreListedInCardOrder) {
    Build(Under(PciCard(1, 8, 3) + IsaCard(2, 4, 11) + PciCard(3, 16, 3)));
    const CardCensus census = TakeCardCensus();
    EXPECT_EQ(census.rows,
              (Rows{"Card1\tPCI\t8\tCOM3\t", "Card2\tISA\t4\tCOM11\t", "Card3\tPCI\t16\tCOM3\t"}));
    EXPECT_EQ(census.cardCount, 3);
}

TEST_F(CardCensusTest, GapInNumberingHidesLaterCards) {
    Build(Under(IsaCard(1, 4, 5) + IsaCard(3, 4, 9)));
    const CardCensus census = TakeCardCensus();
    EXPECT_EQ(census.rows, (Rows{"Card1\tISA\t4\tCOM5\t"}));
    EXPECT_EQ(census.cardCount, 1);
}

TEST_F(CardCensusTest, CardWithoutFirstPortIsCountedButEndsTheList) {
    Build(Under(IsaCard(1, 4, 5) + "Card2\n  ZOVPortCount = dword:4\n" + IsaCard(3, 4, 13)));
    const CardCensus census = TakeCardCensus();
    EXPECT_EQ(census.rows, (Rows{"Card1\tISA\t4\tCOM5\t"}));
    EXPECT_EQ(census.cardCount, 2);
}

TEST_F(CardCensusTest, FirstCardWithoutPortsLeavesListEmptyButCounted) {
    Build(Under("Card1\n  ZOVBaseAddress = dword:0x200\n"));
    const CardCensus census = TakeCardCensus();
    EXPECT_TRUE(census.rows.empty());
    EXPECT_EQ(census.cardCount, 1);
}

TEST_F(CardCensusTest, PortCountValueMakesACardPciWhateverElseItHolds) {
    Build(Under(PciCard(1, 16, 3) + "Card1\n  ZOVBaseAddress = dword:0x308\n  ZOVIrq = dword:5\n"));
    EXPECT_EQ(TakeCardCensus().rows, (Rows{"Card1\tPCI\t16\tCOM3\t"}));
}

TEST_F(CardCensusTest, IsaPortCountIsTheNumberOfSubkeysWhateverTheirNames) {
    Build(Under(IsaCard(1, 8, 13) + "Card1\\Diagnostics\nCard1\\AVeryLongSubkeyName\n"));
    EXPECT_EQ(TakeCardCensus().rows, (Rows{"Card1\tISA\t10\tCOM13\t"}));
}

TEST_F(CardCensusTest, PortCountValueOfOddSizes) {
    // Two bytes count what they spell; more than the census's 20 bytes make the card ISA.
    const std::string twentyOneBytes =
        "04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
    Build(Under(PciCard(1, 4, 1) + "Card1\n  ZOVPortCount = hex:10 00\n" + PciCard(2, 4, 5) +
                "Card2\n  ZOVPortCount = hex:" + twentyOneBytes + "\n"));
    EXPECT_EQ(TakeCardCensus().rows, (Rows{"Card1\tPCI\t16\tCOM1\t", "Card2\tISA\t4\tCOM5\t"}));
}

TEST_F(CardCensusTest, DeviceNamesUpToSevenCharactersAreShown) {
    Build(Under(PciCard(1, 4, 1000)));
    EXPECT_EQ(TakeCardCensus().rows, (Rows{"Card1\tPCI\t4\tCOM1000\t"}));
}

TEST_F(CardCensusTest, DeviceNameTooLongForEightBytesEndsTheCensusAtThatCard) {
    Build(Under(PciCard(1, 4, 1) + PciCard(2, 4, 5) +
                "Card2\\Port1\n  DOSDeviceName = sz:COM12345\n" + PciCard(3, 4, 9)));
    const CardCensus census = TakeCardCensus();
    EXPECT_EQ(census.rows, (Rows{"Card1\tPCI\t4\tCOM1\t"}));
    EXPECT_EQ(census.cardCount, 2);
}

TEST_F(CardCensusTest, DeviceNameFillingEightBytesWithoutZeroIsCutThere) {
    Build(
        Under(PciCard(1, 4, 1) + "Card1\\Port1\n  DOSDeviceName = hex:43 4f 4d 31 32 33 34 35\n"));
    EXPECT_EQ(TakeCardCensus().rows, (Rows{"Card1\tPCI\t4\tCOM12345\t"}));
}

TEST_F(CardCensusTest, MoreThanTenCardsAreAllListedAndCounted) {
    std::string text;
    for (int card = 1; card <= 12; ++card) {
        text += PciCard(card, 4, 4 * card - 3);
    }
    Build(Under(text));
    const CardCensus census = TakeCardCensus();
    ASSERT_EQ(census.rows.size(), 12U);
    EXPECT_EQ(census.rows[9], "Card10\tPCI\t4\tCOM37\t");
    EXPECT_EQ(census.rows[11], "Card12\tPCI\t4\tCOM45\t");
    EXPECT_EQ(census.cardCount, 12);
}

TEST_F(CardCensusTest, RunningTwiceGivesTheSameResult) {
    Build(Under(PciCard(1, 8, 3) + IsaCard(2, 4, 11)));
    const CardCensus first = TakeCardCensus();
    const CardCensus second = TakeCardCensus();
    EXPECT_EQ(first.rows, second.rows);
    EXPECT_EQ(first.cardCount, second.cardCount);
}

TEST_F(CardCensusTest, SubkeyCountEndsWhenTheKeyIsDeletedMeanwhile) {
    Build(Under(IsaCard(1, 0, 1) + "Card1\\Port1\n"));
    HKEY card = Open(CardKeyPath(1));
    HKEY parameters = Open(kParams);
    ASSERT_EQ(RegDeleteKeyA(parameters, "Card1\\Port1"), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKeyA(parameters, "Card1"), ERROR_SUCCESS);
    EXPECT_EQ(CountSubkeys(card), 0U);
    RegCloseKey(card);
    RegCloseKey(parameters);
}

}  // namespace
}  // namespace zov
