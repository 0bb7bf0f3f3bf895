// What is read of the configured cards: the census the card list shows, and the configuration
// check that finds each kind of problem with its card.
#include "store/card_census.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "card_store_test.h"
#include "store/card_key_reader.h"
#include "store/card_layout.h"
#include "store/configuration_check.h"

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

const CensusCase kRegistries[] = {
    {"CardOrder",
     PciCardKeys(1, 8, 3) + IsaCardKeys(2, 4, 11) + PciCardKeys(3, 16, 3) +
         // a port count makes a card PCI whatever else it holds
         CardPath(3) + "\n  ZOVBaseAddress = dword:0x308\n  ZOVIrq = dword:5\n",
     {"Card1\tPCI\t8\tCOM3\t", "Card2\tISA\t4\tCOM11\t", "Card3\tPCI\t16\tCOM3\t"},
     3},
    {"GapHidesLaterCards",
     IsaCardKeys(1, 4, 5) + IsaCardKeys(3, 4, 9),
     {"Card1\tISA\t4\tCOM5\t"},
     1},
    {"CardWithoutFirstPortIsCountedButEndsTheList",
     IsaCardKeys(1, 4, 5) + CardKeys(2, "  ZOVPortCount = dword:4\n", 0, 0) + IsaCardKeys(3, 4, 13),
     {"Card1\tISA\t4\tCOM5\t"},
     2},
    {"IsaPortCountIsTheSubkeyCount",
     IsaCardKeys(1, 8, 13) + CardPath(1) + "\\Diagnostics\n" + CardPath(1) +
         "\\AVeryLongSubkeyName\n",
     {"Card1\tISA\t10\tCOM13\t"},
     1},
    // Two bytes count what they spell; more than 20 make the card ISA.
    {"PortCountOfOddSizes",
     PciCardKeys(1, 4, 1) + CardPath(1) + "\n  ZOVPortCount = hex:10 00\n" + PciCardKeys(2, 4, 5) +
         CardPath(2) + "\n  ZOVPortCount = hex:04" +
         " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n",
     {"Card1\tPCI\t16\tCOM1\t", "Card2\tISA\t4\tCOM5\t"},
     2},
    {"DeviceNameTooLongEndsTheCensus",
     PciCards(3) + CardPath(2) + "\\Port1\n  DOSDeviceName = sz:COM12345\n",
     {"Card1\tPCI\t4\tCOM1\t"},
     2},
    {"EightBytesWithoutZeroAreCutThere",
     PciCardKeys(1, 4, 1) + CardPath(1) +
         "\\Port1\n  DOSDeviceName = hex:43 4f 4d 31 32 33 34 35\n",
     {"Card1\tPCI\t4\tCOM12345\t"},
     1}};

INSTANTIATE_TEST_SUITE_P(Registries, CardCensusRows, ::testing::ValuesIn(kRegistries), kCaseName);

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

// "kind@card" for each problem found, in order; "kind@-" for one of the whole configuration.
std::string ProblemsFound() {
    std::string found;
    for (const ConfigurationProblem& problem : CheckCardConfiguration()) {
        EXPECT_FALSE(problem.text.empty());
        found += std::string(found.empty() ? "" : " ") + ProblemKindName(problem.kind) + "@" +
                 (problem.card ? std::to_string(*problem.card) : "-");
    }
    return found;
}

std::string PortKey(int card, int port, const std::string& value) {
    return CardPath(card) + "\\Port" + std::to_string(port) + "\n" + value;
}

struct CheckCase {
    const char* name;
    std::string registry;
    const char* problems;
};

class ConfigurationCheckTest : public RegistryTest,
                               public ::testing::WithParamInterface<CheckCase> {};

TEST_P(ConfigurationCheckTest, FindsEachKindOfProblemWithItsCard) {
    Build(GetParam().registry);
    EXPECT_EQ(ProblemsFound(), GetParam().problems);
}

const std::string kPci4 = "  ZOVPortCount = dword:4\n";

const CheckCase kCheckedRegistries[] = {
    {"NoCards", std::string(kParametersPath) + "\n", ""},
    {"Typical", IsaCardKeys(1, 8, 13, 0x200, 5) + PciCardKeys(2, 4, 21), ""},
    {"GapHidesTheCardsAboveIt", PciCardKeys(1, 4, 1) + PciCardKeys(4, 4, 9), "gap@-"},
    {"NoPort1", PciCardKeys(1, 4, 1) + CardKeys(2, "", 0, 0), "unlisted_card@2"},
    {"OverLongFirstName",
     CardKeys(1, kPci4, 0, 0) + PortKey(1, 1, "  DOSDeviceName = sz:COM12345\n") +
         PortKey(1, 2, "  DOSDeviceName = sz:COM2\n") +
         PortKey(1, 3, "  DOSDeviceName = sz:COM3\n") +
         PortKey(1, 4, "  DOSDeviceName = sz:COM4\n"),
     "unlisted_card@1"},
    {"NineCards", PciCards(9), "too_many_cards@-"},
    {"OverlappingRanges", PciCardKeys(1, 4, 1) + PciCardKeys(2, 4, 3), "port_range_overlap@2"},
    {"OneBaseAddressOneInterrupt",
     IsaCardKeys(1, 4, 1, 0x200, 5) + IsaCardKeys(2, 4, 5, 0x200, 7) +
         IsaCardKeys(3, 4, 9, 0x300, 5),
     "shared_base_address@2 shared_irq@3"},
    {"SubkeyThatIsNotAPort", IsaCardKeys(1, 4, 1) + CardPath(1) + "\\Settings\n",
     "non_port_subkey@1"},
    {"MissingAndExtraPortKeys",
     PciCardKeys(1, 3, 1) + CardPath(1) + "\n" + kPci4 + IsaCardKeys(2, 4, 9) +
         PortKey(2, 6, "  DOSDeviceName = sz:COM14\n") + PciCardKeys(3, 5, 20) + CardPath(3) +
         "\n" + kPci4,
     "missing_port_key@1 missing_port_key@2 extra_port_key@3"},
    {"NamesThatAreNotComAndANumber",
     PciCardKeys(1, 4, 1) + PortKey(1, 2, "  DOSDeviceName = sz:LPT2\n") +
         PortKey(1, 3, "  DOSDeviceName = sz:COM03\n"),
     "bad_device_name@1 bad_device_name@1"},
    {"ValuesOfTheWrongTypeOrSize",
     IsaCardKeys(1, 4, 1) + CardPath(1) + "\n  ZOVIrq = sz:5\n" +
         PortKey(1, 2, "  DOSDeviceName = hex:43 4f 4d 32 00\n") + PciCardKeys(2, 4, 9) +
         CardPath(2) + "\n  ZOVBus = hex:01\n",
     "bad_value@1 bad_value@1 bad_value@2"}};

INSTANTIATE_TEST_SUITE_P(Registries, ConfigurationCheckTest,
                         ::testing::ValuesIn(kCheckedRegistries), kCaseName);

}  // namespace
}  // namespace zov::test
