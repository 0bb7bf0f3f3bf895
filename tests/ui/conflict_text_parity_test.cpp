// The dialogs and the card commands refuse the same conflict with the same message and caption,
// since both take them from the card store.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>
#include <string>

#include "app_scenario.h"
#include "cli/card_commands.h"
#include "platform/security/credentials.h"

namespace zov::test {
namespace {

struct Refusal {
    std::string caption;
    std::string text;
};

// The settings dialog's defaults as a command: ISA, 200, 5, 8 ports from COM13.
Refusal RefusalOfTheCommand() {
    char program[] = "zovcfg";
    std::string words[] = {"add",     "isa", "--base", "200",   "--irq", "5",
                           "--ports", "8",   "--com",  "COM13", "--json"};
    std::vector<char*> argv{program};
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::RunCardCommands(static_cast<int>(argv.size()), argv.data(), out, err), 3);
    const nlohmann::json error = nlohmann::json::parse(out.str()).at("error");
    return {error.at("caption").get<std::string>(), error.at("message").get<std::string>()};
}

struct Conflict {
    const char* name;
    std::string card;  // the one card in the registry
};

void PrintTo(const Conflict& conflict, std::ostream* out) {
    *out << conflict.name;
}

class ConflictTextParity : public AppScenario, public ::testing::WithParamInterface<Conflict> {};

// The one card in the registry conflicts with the defaults on base address, interrupt or ports.
TEST_P(ConflictTextParity, DialogAndCommandRefuseWithTheSameTextAndCaption) {
    Credentials administrator = Credentials::OfProcess();
    administrator.gid = 0;
    const ScopedProcessCredentials asAdministrator(administrator);
    Build(GetParam().card);
    const std::string before = Parameters();
    const Refusal command = RefusalOfTheCommand();
    Refusal dialog;
    Alt('a');
    Alt('d');  // Done with the defaults
    Check([&dialog] { dialog = {Caption(), ControlText(IDC_STATIC)}; });
    Press(Key::Enter);
    Press(Key::Escape);
    EXPECT_EQ(Leave(), 0);
    EXPECT_FALSE(command.text.empty());
    EXPECT_EQ(dialog.caption, command.caption);
    EXPECT_EQ(dialog.text, command.text);
    EXPECT_EQ(Parameters(), before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ConflictTextParity,
                         ::testing::Values(Conflict{"BaseAddress", IsaCardKeys(1, 4, 1, 0x200, 10)},
                                           Conflict{"Irq", IsaCardKeys(1, 4, 1, 0x300, 5)},
                                           Conflict{"StartingPort", PciCardKeys(1, 8, 10)}),
                         [](const ::testing::TestParamInfo<Conflict>& row) {
                             return row.param.name;
                         });

}  // namespace
}  // namespace zov::test
