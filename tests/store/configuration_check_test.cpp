#include "store/configuration_check.h"

#include <gtest/gtest.h>

#include <string>

#include "card_keys.h"
#include "registry_test_support.h"

namespace zov::test {
namespace {

using test::PrintTo;  // found by the cases' own namespace

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

INSTANTIATE_TEST_SUITE_P(
    Registries, ConfigurationCheckTest,
    ::testing::Values(
        CheckCase{"NoCards", std::string(kParametersPath) + "\n", ""},
        CheckCase{"Typical", IsaCardKeys(1, 8, 13, 0x200, 5) + PciCardKeys(2, 4, 21), ""},
        CheckCase{"GapHidesTheCardsAboveIt", PciCardKeys(1, 4, 1) + PciCardKeys(4, 4, 9), "gap@-"},
        CheckCase{"NoPort1", PciCardKeys(1, 4, 1) + CardKeys(2, "", 0, 0), "unlisted_card@2"},
        CheckCase{"OverLongFirstName",
                  CardKeys(1, kPci4, 0, 0) + PortKey(1, 1, "  DOSDeviceName = sz:COM12345\n") +
                      PortKey(1, 2, "  DOSDeviceName = sz:COM2\n") +
                      PortKey(1, 3, "  DOSDeviceName = sz:COM3\n") +
                      PortKey(1, 4, "  DOSDeviceName = sz:COM4\n"),
                  "unlisted_card@1"},
        CheckCase{"NineCards", PciCards(9), "too_many_cards@-"},
        CheckCase{"OverlappingRanges", PciCardKeys(1, 4, 1) + PciCardKeys(2, 4, 3),
                  "port_range_overlap@2"},
        CheckCase{"OneBaseAddressOneInterrupt",
                  IsaCardKeys(1, 4, 1, 0x200, 5) + IsaCardKeys(2, 4, 5, 0x200, 7) +
                      IsaCardKeys(3, 4, 9, 0x300, 5),
                  "shared_base_address@2 shared_irq@3"},
        CheckCase{"SubkeyThatIsNotAPort", IsaCardKeys(1, 4, 1) + CardPath(1) + "\\Settings\n",
                  "non_port_subkey@1"},
        CheckCase{"MissingAndExtraPortKeys",
                  PciCardKeys(1, 3, 1) + CardPath(1) + "\n" + kPci4 + IsaCardKeys(2, 4, 9) +
                      PortKey(2, 6, "  DOSDeviceName = sz:COM14\n") + PciCardKeys(3, 5, 20) +
                      CardPath(3) + "\n" + kPci4,
                  "missing_port_key@1 missing_port_key@2 extra_port_key@3"},
        CheckCase{"NamesThatAreNotComAndANumber",
                  PciCardKeys(1, 4, 1) + PortKey(1, 2, "  DOSDeviceName = sz:LPT2\n") +
                      PortKey(1, 3, "  DOSDeviceName = sz:COM03\n"),
                  "bad_device_name@1 bad_device_name@1"},
        CheckCase{"ValuesOfTheWrongTypeOrSize",
                  IsaCardKeys(1, 4, 1) + CardPath(1) + "\n  ZOVIrq = sz:5\n" +
                      PortKey(1, 2, "  DOSDeviceName = hex:43 4f 4d 32 00\n") +
                      PciCardKeys(2, 4, 9) + CardPath(2) + "\n  ZOVBus = hex:01\n",
                  "bad_value@1 bad_value@1 bad_value@2"}),
    kCaseName);

}  // namespace
}  // namespace zov::test
