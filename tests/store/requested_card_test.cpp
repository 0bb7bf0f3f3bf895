// A card asked for with automatic values: what `auto` chooses around the cards configured, and
// that a dry run or a refusal writes nothing. (A given base address in conflict: the "conflict"
// case of CardCommands.AddChecksChoosesAndWritesOnlyWhenAllowed.)
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "card_keys.h"
#include "registry_test_support.h"
#include "store/new_card_commit.h"

namespace zov::test {
namespace {

using test::PrintTo;  // found by the cases' own namespace

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

INSTANTIATE_TEST_SUITE_P(
    AroundExistingCards, RequestedCardTest,
    ::testing::Values(
        AutoCase{"NoCardsTakesTheFirstOfEachList", "", Isa(8), 0x100, 2, 1, nullptr},
        AutoCase{"SkipsTakenResourcesAndPorts",
                 IsaCardKeys(1, 8, 1, 0x100, 2) + IsaCardKeys(2, 4, 9, 0x110, 3) +
                     PciCardKeys(3, 4, 17) + CardPath(3) +
                     "\n  ZOVBaseAddress = dword:0x120\n  ZOVIrq = dword:4\n",
                 Isa(4), 0x120, 4, 13, nullptr},
        AutoCase{"FitsAHoleOnlyWhenTheCardFits", PciCardKeys(1, 4, 1) + PciCardKeys(2, 8, 9),
                 Pci(8), 0, 0, 17, nullptr},
        AutoCase{"GivenValuesStay", IsaCardKeys(1, 4, 1, 0x200, 5), Isa(4, 0x3F0, std::nullopt, 40),
                 0x3F0, 2, 40, nullptr},
        AutoCase{"AGivenPortInConflictIsRefused", PciCardKeys(1, 4, 1),
                 Isa(4, std::nullopt, std::nullopt, 3), 0, 0, 0, "Starting Port Conflict"},
        AutoCase{"NinthCardIsRefused", PciCards(8), Pci(4), 0, 0, 0, "Error Adding Card"}),
    kCaseName);

}  // namespace
}  // namespace zov::test
