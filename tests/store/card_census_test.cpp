#include "store/card_census.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "card_keys.h"
#include "registry_test_support.h"
#include "store/card_key_reader.h"
#include "store/card_layout.h"

namespace zov::test {
namespace {

using test::PrintTo;  // found by the cases' own namespace

using Rows = std::vector<std::string>;

struct CensusCase {
    const char* name;
    std::string registry;
    Rows rows;
    int cardCount;
};

class CardCensusTest : public RegistryTest {};
class CardCensusRows : public RegistryTest, public ::testing::WithParamInterface<CensusCase> {};

TEST_P(CardCensusRows, ListTheCardsUpToTheFirstGapOrUnreadableCard) {
    Build(GetParam().registry);
    const CardCensus census = TakeCardCensus();
    EXPECT_EQ(CensusRows(census), GetParam().rows);
    EXPECT_EQ(census.cardCount, GetParam().cardCount);
}

INSTANTIATE_TEST_SUITE_P(
    Registries, CardCensusRows,
    ::testing::Values(
        CensusCase{"CardOrder",
                   PciCardKeys(1, 8, 3) + IsaCardKeys(2, 4, 11) + PciCardKeys(3, 16, 3) +
                       // a port count makes a card PCI whatever else it holds
                       CardPath(3) + "\n  ZOVBaseAddress = dword:0x308\n  ZOVIrq = dword:5\n",
                   {"Card1\tPCI\t8\tCOM3\t", "Card2\tISA\t4\tCOM11\t", "Card3\tPCI\t16\tCOM3\t"},
                   3},
        CensusCase{"GapHidesLaterCards",
                   IsaCardKeys(1, 4, 5) + IsaCardKeys(3, 4, 9),
                   {"Card1\tISA\t4\tCOM5\t"},
                   1},
        CensusCase{"CardWithoutFirstPortIsCountedButEndsTheList",
                   IsaCardKeys(1, 4, 5) + CardKeys(2, "  ZOVPortCount = dword:4\n", 0, 0) +
                       IsaCardKeys(3, 4, 13),
                   {"Card1\tISA\t4\tCOM5\t"},
                   2},
        CensusCase{"IsaPortCountIsTheSubkeyCount",
                   IsaCardKeys(1, 8, 13) + CardPath(1) + "\\Diagnostics\n" + CardPath(1) +
                       "\\AVeryLongSubkeyName\n",
                   {"Card1\tISA\t10\tCOM13\t"},
                   1},
        // Two bytes count what they spell; more than 20 make the card ISA.
        CensusCase{"PortCountOfOddSizes",
                   PciCardKeys(1, 4, 1) + CardPath(1) + "\n  ZOVPortCount = hex:10 00\n" +
                       PciCardKeys(2, 4, 5) + CardPath(2) + "\n  ZOVPortCount = hex:04" +
                       " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n",
                   {"Card1\tPCI\t16\tCOM1\t", "Card2\tISA\t4\tCOM5\t"},
                   2},
        CensusCase{"DeviceNameTooLongEndsTheCensus",
                   PciCards(3) + CardPath(2) + "\\Port1\n  DOSDeviceName = sz:COM12345\n",
                   {"Card1\tPCI\t4\tCOM1\t"},
                   2},
        CensusCase{"EightBytesWithoutZeroAreCutThere",
                   PciCardKeys(1, 4, 1) + CardPath(1) +
                       "\\Port1\n  DOSDeviceName = hex:43 4f 4d 31 32 33 34 35\n",
                   {"Card1\tPCI\t4\tCOM12345\t"},
                   1}),
    kCaseName);

// More than ten cards, in the order of their numbers: RemoveCardScenario.RowOfCardTen.
TEST_F(CardCensusTest, SubkeyCountEndsWhenTheKeyIsDeletedMeanwhile) {
    Build(IsaCardKeys(1, 0, 1) + CardPath(1) + "\\Port1\n");
    HKEY card = Open(CardKeyPath(1));
    HKEY parameters = Open(kParametersPath);
    ASSERT_EQ(RegDeleteKeyA(parameters, "Card1\\Port1"), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKeyA(parameters, "Card1"), ERROR_SUCCESS);
    EXPECT_EQ(CountSubkeys(card), 0U);
    RegCloseKey(card);
    RegCloseKey(parameters);
}

}  // namespace
}  // namespace zov::test
