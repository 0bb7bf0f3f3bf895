// The commands that only read: list, show and check.
#include "cli/card_command_runs.h"
#include "cli/card_json.h"
#include "cli/exit_status.h"
#include "platform/format.h"
#include "store/card_census.h"
#include "store/card_layout.h"
#include "store/card_properties.h"
#include "store/configuration_check.h"
#include "store/registry_check.h"

namespace zov::cli {

namespace {

std::string NumberText(const nlohmann::json& value, const char* format) {
    return value.is_null() ? std::string("-")
                           : FormatText(format, static_cast<unsigned>(value.get<uint32_t>()));
}

// One card as a line of the list, from its JSON object, so both outputs say the same.
std::string CardLine(const nlohmann::json& card) {
    return FormatText(
        "%-6d%-5s%-7u%-12s%-8s%-5s%-9s%s\n", card["number"].get<int>(),
        card["bus"].get<std::string>() == "pci" ? "PCI" : "ISA", card["ports"].get<unsigned>(),
        EscapeForTerminal(card["first_port_name"].is_null()
                              ? std::string("-")
                              : card["first_port_name"].get<std::string>())
            .c_str(),
        NumberText(card["base_address"], "0x%X").c_str(), NumberText(card["irq"], "%u").c_str(),
        NumberText(card["pci_bus"], "%u").c_str(), NumberText(card["pci_slot"], "%u").c_str());
}

}  // namespace

bool RegistryUsable(CommandOutput& output, int& exitCode) {
    const auto reason = CheckRegistryReadable();
    if (!reason) {
        return true;
    }
    exitCode = output.Fail(kExitCannotRun, "registry_unreadable", *reason);
    return false;
}

int RunList(CommandOutput& output) {
    int exitCode = kExitUnchanged;
    if (!RegistryUsable(output, exitCode)) {
        return exitCode;
    }
    const CardCensus census = TakeCardCensus();
    nlohmann::json cards = nlohmann::json::array();
    for (const CardSummary& card : census.cards) {
        cards.push_back(CardSummaryJson(card));
    }
    if (output.Json()) {
        nlohmann::json object = output.Object();
        object["count"] = census.cardCount;
        object["cards"] = cards;
        output.PrintJson(object);
    } else {
        output.Text() << "CARD  BUS  PORTS  FIRST PORT  BASE    IRQ  PCI BUS  PCI SLOT\n";
        for (const nlohmann::json& card : cards) {
            output.Text() << CardLine(card);
        }
        output.Text() << FormatText("%d card%s\n", census.cardCount,
                                    census.cardCount == 1 ? "" : "s");
    }
    if (static_cast<std::size_t>(census.cardCount) > census.cards.size()) {
        output.Message(FormatText(
            "Card%d is counted but cannot be listed; 'zovcfg check' says why.", census.cardCount));
    }
    return kExitUnchanged;
}

int RunShow(CommandOutput& output, int cardNumber) {
    int exitCode = kExitUnchanged;
    if (!RegistryUsable(output, exitCode)) {
        return exitCode;
    }
    const auto properties = ReadCardProperties(CardKeyPath(cardNumber));
    if (!properties) {
        // The properties dialog's own message, under the application's title.
        return output.Fail(kExitRefused, "no_such_card", "Card Registry Not Found", "zovcfg",
                           {{"card", cardNumber}});
    }
    const nlohmann::json card = CardPropertiesJson(cardNumber, *properties);
    if (output.Json()) {
        nlohmann::json object = output.Object();
        object["card"] = card;
        output.PrintJson(object);
        return kExitUnchanged;
    }
    const auto line = [&output](const char* label, const std::string& value) {
        output.Text() << FormatText("%-15s%s\n", label, value.c_str());
    };
    line("Card", FormatText("%d", cardNumber));
    line("Bus", card["bus"].get<std::string>() == "pci" ? "PCI" : "ISA");
    line("Ports", FormatText("%u", card["ports"].get<unsigned>()));
    line("Starting port", card["first_port_name"].is_null()
                              ? std::string("-")
                              : EscapeForTerminal(card["first_port_name"].get<std::string>()));
    line("Base address", NumberText(card["base_address"], "0x%X"));
    line("IRQ", NumberText(card["irq"], "%u"));
    line("PCI bus", NumberText(card["pci_bus"], "%u"));
    line("PCI slot", NumberText(card["pci_slot"], "%u"));
    return kExitUnchanged;
}

int RunCheck(CommandOutput& output) {
    int exitCode = kExitUnchanged;
    if (!RegistryUsable(output, exitCode)) {
        return exitCode;
    }
    const auto problems = CheckCardConfiguration();
    nlohmann::json list = nlohmann::json::array();
    for (const ConfigurationProblem& problem : problems) {
        list.push_back({{"card", problem.card ? nlohmann::json(*problem.card) : nlohmann::json()},
                        {"kind", ProblemKindName(problem.kind)},
                        {"message", problem.text}});
        if (!output.Json()) {
            output.Text() << EscapeForTerminal(problem.text) << '\n';
        }
    }
    if (problems.empty()) {
        if (output.Json()) {
            nlohmann::json object = output.Object();
            object["problems"] = list;
            output.PrintJson(object);
        }
        return kExitUnchanged;
    }
    const std::string summary =
        FormatText("%zu problem%s found", problems.size(), problems.size() == 1 ? "" : "s");
    return output.Fail(kExitRefused, "problems_found", summary, "", {{"problems", list}});
}

}  // namespace zov::cli
