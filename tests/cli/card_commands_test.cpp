// The card commands run in-process on prepared registries: their exit codes, their JSON read
// back with the same library, and what they leave in the registry.
#include <gtest/gtest.h>

#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "card_store_test.h"
#include "cli/card_commands.h"
#include "platform/security/credentials.h"

namespace zov::test {
namespace {

using nlohmann::json;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
    json object;  // standard output read as JSON, when --json was given
};

class CardCommands : public CardStoreTest {
  protected:
    // Runs "zovcfg <words>"; with --json among them, standard output must be one JSON object.
    static Outcome Run(const std::string& words) {
        std::istringstream split(words);
        std::vector<std::string> arguments{"zovcfg"};
        arguments.insert(arguments.end(), std::istream_iterator<std::string>(split), {});
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        std::ostringstream out;
        std::ostringstream err;
        Outcome outcome;
        outcome.exitCode =
            cli::RunCardCommands(static_cast<int>(argv.size()), argv.data(), out, err);
        outcome.out = out.str();
        outcome.err = err.str();
        if (words.find("--json") != std::string::npos) {
            outcome.object = json::parse(outcome.out);
            EXPECT_EQ(outcome.object.at("version"), 1) << outcome.out;
        }
        return outcome;
    }
    // Runs "zovcfg <words>" and expects this exit code and this kind of error in its JSON.
    static Outcome ExpectError(const std::string& words, int exitCode, const char* kind) {
        Outcome outcome = Run(words);
        EXPECT_EQ(outcome.exitCode, exitCode) << words;
        EXPECT_EQ(outcome.object.at("error").at("kind"), kind) << words;
        return outcome;
    }
};

// Registries the listing is tried on.
const std::string kTypical = IsaCardKeys(1, 8, 21, 0x2A0, 7) + PciCardKeys(2, 4, 3) + CardPath(2) +
                             "\n  ZOVBus = dword:2\n  ZOVSlot = dword:11\n";

TEST_F(CardCommands, ListCountsAndListsAsTheCensus) {
    const struct {
        const char* name;
        std::string registry;
        int count;
        std::vector<int> listed;
    } kCases[] = {{"empty", "", 0, {}},
                  {"typical", kTypical, 2, {1, 2}},
                  {"unlisted", PciCardKeys(1, 4, 1) + CardKeys(2, "", 0, 0), 2, {1}}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        FreshRegistry(c.name);
        Build(std::string(kParametersPath) + "\n" + c.registry);
        const Outcome outcome = Run("list --json");
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.object.at("count"), c.count);
        std::vector<int> listed;
        for (const json& card : outcome.object.at("cards")) {
            listed.push_back(card.at("number").get<int>());
        }
        EXPECT_EQ(listed, c.listed);
        // The people's list says the same count.
        EXPECT_NE(Run("list").out.find(std::to_string(c.count) + " card"), std::string::npos);
    }
}

TEST_F(CardCommands, ListAndShowGiveEveryFieldOfACard) {
    Build(kTypical);
    const json cards = Run("list --json").object.at("cards");
    EXPECT_EQ(cards[0], json::parse(R"({"number":1,"bus":"isa","ports":8,"first_port":21,
        "first_port_name":"COM21","base_address":672,"irq":7,"pci_bus":null,"pci_slot":null})"));
    EXPECT_EQ(cards[1], json::parse(R"({"number":2,"bus":"pci","ports":4,"first_port":3,
        "first_port_name":"COM3","base_address":null,"irq":null,"pci_bus":2,"pci_slot":11})"));
    EXPECT_EQ(Run("show 2 --json").object.at("card"), cards[1]);

    const Outcome missing = ExpectError("show 3 --json", 3, "no_such_card");
    EXPECT_EQ(missing.object.at("error").at("message"), "Card Registry Not Found");
}

struct AddCase {
    const char* name;
    std::string registry;
    const char* arguments;
    int exitCode;
    const char* errorKind;  // nullptr: added
    const char* card;       // the "card" object of the output
};

// (That a dry run refuses whatever the real run refuses, the ninth card among them:
// RequestedCardTest in tests/store, every row.)
TEST_F(CardCommands, AddChecksChoosesAndWritesOnlyWhenAllowed) {
    const std::string kIsa100Irq2Com1To8 = IsaCardKeys(1, 8, 1, 0x100, 2);
    const AddCase kCases[] = {
        {"auto around an ISA card", kIsa100Irq2Com1To8,
         "add isa --base auto --irq auto --ports 4 --com auto", 1, nullptr,
         R"({"number":2,"bus":"isa","ports":4,"first_port":9,"first_port_name":"COM9",
             "last_port":12,"base_address":272,"irq":3})"},
        {"dry run", kIsa100Irq2Com1To8,
         "add --dry-run isa --base 0x2A0 --irq 7 --ports 16 --com COM9", 0, nullptr,
         R"({"number":2,"bus":"isa","ports":16,"first_port":9,"first_port_name":"COM9",
             "last_port":24,"base_address":672,"irq":7})"},
        {"conflict", kIsa100Irq2Com1To8, "add isa --base 100 --irq 7 --ports 4 --com 9", 3,
         "base_address_conflict",
         R"({"number":2,"bus":"isa","ports":4,"first_port":9,"first_port_name":"COM9",
             "last_port":12,"base_address":256,"irq":7})"},
        {"ninth card", PciCards(8), "add pci --ports 4 --com 100", 3, "card_limit",
         R"({"number":9,"bus":"pci","ports":4,"first_port":100,"first_port_name":"COM100",
             "last_port":103,"base_address":null,"irq":null})"},
    };
    for (const AddCase& c : kCases) {
        SCOPED_TRACE(c.name);
        FreshRegistry(c.name);
        Build(c.registry);
        const std::string before = Parameters();
        const Outcome outcome = Run(std::string(c.arguments) + " --json");
        EXPECT_EQ(outcome.exitCode, c.exitCode) << outcome.err;
        EXPECT_EQ(outcome.object.at("card"), json::parse(c.card));
        EXPECT_EQ(outcome.object.at("changed"), c.exitCode == 1);
        if (c.errorKind != nullptr) {
            EXPECT_EQ(outcome.object.at("error").at("kind"), c.errorKind);
            EXPECT_EQ(outcome.err.rfind("zovcfg: add: ", 0), 0U) << outcome.err;
        }
        if (c.exitCode == 1) {
            EXPECT_NE(Parameters(), before);
            // The card written is the card the census now lists last.
            const json listed = Run("list --json").object.at("cards").back();
            EXPECT_EQ(listed.at("first_port"), outcome.object.at("card").at("first_port"));
            EXPECT_EQ(listed.at("irq"), outcome.object.at("card").at("irq"));
        } else {
            EXPECT_EQ(Parameters(), before);
        }
    }
}

TEST_F(CardCommands, RemoveRenumbersOrRefusesWritingNothing) {
    Build(PciCards(3));
    const std::string before = Parameters();
    const struct {
        const char* arguments;
        int exitCode;
        const char* errorKind;
    } kRefusedOrDry[] = {{"remove 4 --json", 3, "no_such_card"},
                         {"remove 2 --dry-run --json", 0, nullptr}};
    for (const auto& c : kRefusedOrDry) {
        const Outcome outcome = Run(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(outcome.object.contains("error"), c.errorKind != nullptr) << c.arguments;
        if (c.errorKind != nullptr) {
            EXPECT_EQ(outcome.object.at("error").at("kind"), c.errorKind);
        }
        EXPECT_EQ(Parameters(), before) << c.arguments;
    }

    const Outcome removed = Run("remove 1 --json");
    EXPECT_EQ(removed.exitCode, 1) << removed.err;
    EXPECT_EQ(removed.object.at("changed"), true);
    EXPECT_EQ(removed.object.at("renumbered"),
              json::parse(R"([{"from":2,"to":1},{"from":3,"to":2}])"));
    EXPECT_EQ(removed.object.at("count_after"), 2);
    const json cards = Run("list --json").object.at("cards");
    ASSERT_EQ(cards.size(), 2U);
    EXPECT_EQ(cards[0].at("first_port"), 5);  // card 2's ports, now card 1's
}

// Nothing changes for a user outside group 0, also on a dry run.
TEST_F(CardCommands, OnlyAdministratorsAddOrRemove) {
    Build(PciCards(2));
    const std::string before = Parameters();
    const ScopedProcessCredentials asUser(InGroup(4242));
    for (const char* arguments :
         {"add pci --ports 4 --com auto --json", "remove 1 --json", "remove 1 --dry-run --json"}) {
        ExpectError(arguments, 3, "not_administrator");
    }
    EXPECT_EQ(Run("list --json").exitCode, 0);
    EXPECT_EQ(Parameters(), before);
}

TEST_F(CardCommands, UsageErrorsNameTheArgumentAndExit2) {
    const struct {
        const char* arguments;
        const char* named;  // what the message must name
    } kCases[] = {{"add isa --base 105 --irq 5 --ports 4 --com 1 --json", "--base"},
                  {"add isa --base 200 --irq 6 --ports 4 --com 1 --json", "--irq"},
                  {"add pci --ports 5 --com 1 --json", "--ports"},
                  {"add pci --ports 4 --com COM133 --json", "--com"},
                  {"add pci --com 1 --json", "--ports"},
                  {"remove x --json", "'x'"},
                  {"list --frobnicate --json", "--frobnicate"},
                  {"--json", "'--json'"}};
    for (const auto& c : kCases) {
        const Outcome outcome = ExpectError(c.arguments, 2, "usage");
        EXPECT_NE(outcome.object.at("error").at("message").get<std::string>().find(c.named),
                  std::string::npos)
            << outcome.err;
        EXPECT_NE(outcome.err.find(c.named), std::string::npos) << outcome.err;
    }
    EXPECT_FALSE(Exists(DatabasePath()));
}

TEST_F(CardCommands, UnreadableRegistryExits2) {
    WriteFileBytes(DatabasePath(), std::vector<std::uint8_t>(4096, 'x'));
    for (const char* arguments :
         {"list --json", "check --json", "add pci --ports 4 --com 1 --json"}) {
        ExpectError(arguments, 2, "registry_unreadable");
    }
}

TEST_F(CardCommands, CheckExits3WithEachProblemAndItsCard) {
    Build(PciCardKeys(1, 4, 1) + PciCardKeys(2, 4, 3));
    EXPECT_EQ(Run("check").exitCode, 3);
    const Outcome outcome = ExpectError("check --json", 3, "problems_found");
    ASSERT_EQ(outcome.object.at("problems").size(), 1U) << outcome.out;
    EXPECT_EQ(outcome.object.at("problems")[0].at("card"), 2);
    EXPECT_EQ(outcome.object.at("problems")[0].at("kind"), "port_range_overlap");

    FreshRegistry("clean");
    Build(PciCardKeys(1, 4, 1));
    const Outcome clean = Run("check --json");
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_EQ(clean.object.at("problems"), json::array());
}

}  // namespace
}  // namespace zov::test
