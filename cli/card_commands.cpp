#include "cli/card_commands.h"

#include <CLI/CLI.hpp>
#include <cstring>
#include <functional>

#include "cli/card_command_runs.h"
#include "cli/card_values.h"
#include "cli/exit_status.h"
#include "store/card_choices.h"

namespace zov::cli {

namespace {

constexpr const char* kVersionText = "zovcfg " ZOVCFG_VERSION;

// After the usage line and the list of commands: what the program is, and what holds for all.
constexpr const char* kFooter =
    "Configure the cards of the ZOV multi-port serial adapter driver.\n"
    "Without a command, zovcfg runs its dialogs in the terminal.\n"
    "The registry is the database file $ZOVCFG_REGISTRY, or /var/lib/zovcfg/registry.db.\n"
    "Exit status: 0 done and nothing changed, 1 a card was added or removed, 2 could not run\n"
    "(usage, registry unreadable), 3 refused (conflict, eight cards, not an administrator, no\n"
    "such card, cards changed meanwhile, problems found by check).\n"
    "See zovcfg(1) for the JSON that --json prints.";

// A CLI11 check that runs one of the value parsers, so that the error names the option.
CLI::Validator ValueCheck(ParsedValue (*parse)(const std::string&), const char* valueName) {
    return CLI::Validator([parse](std::string& text) { return parse(text).error; }, valueName);
}

void AddJsonFlag(CLI::App* command, bool& json) {
    command->add_flag("--json", json, "print the result as one JSON object (see zovcfg(1))");
}

bool AskedForJson(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) {
            return true;
        }
    }
    return false;
}

// The commands named on the command line ("add isa"), for the usage hint.
std::string CommandPath(const CLI::App& app) {
    std::string path;
    const CLI::App* command = &app;
    while (!command->get_subcommands().empty()) {
        command = command->get_subcommands().front();
        path += path.empty() ? command->get_name() : " " + command->get_name();
    }
    return path;
}

// The command itself ("add"), the name its messages and JSON carry; "" before one is named.
std::string CommandName(const CLI::App& app) {
    const auto commands = app.get_subcommands();
    return commands.empty() ? std::string() : commands.front()->get_name();
}

int UsageError(const CLI::App& app, bool json, const std::string& message, std::ostream& out,
               std::ostream& err) {
    const std::string path = CommandPath(app);
    CommandOutput output(CommandName(app), json, out, err);
    return output.Fail(
        kExitCannotRun, "usage",
        message + "\nRun 'zovcfg " + path + (path.empty() ? "" : " ") + "--help' for the usage.");
}

}  // namespace

int RunCardCommands(int argc, char** argv, std::ostream& out, std::ostream& err) {
    // No description above the usage line: the help begins with "Usage: zovcfg".
    CLI::App app("", "zovcfg");
    app.footer(kFooter);
    app.set_version_flag("--version", kVersionText);
    // Arguments no command takes are collected and refused below, with their name.
    app.require_subcommand(0, 1);

    bool json = false;
    bool dryRun = false;
    int cardNumber = 0;
    std::string base;
    std::string irq;
    std::string ports;
    std::string com;
    std::function<int(CommandOutput&)> run;

    CLI::App* list = app.add_subcommand("list", "list the cards as the card list counts them");
    AddJsonFlag(list, json);
    list->callback([&] { run = [](CommandOutput& output) { return RunList(output); }; });

    CLI::App* show = app.add_subcommand("show", "show one card's stored properties");
    show->add_option("N", cardNumber, "the card number")
        ->required()
        ->check(ValueCheck(ParseCardNumber, "N"));
    AddJsonFlag(show, json);
    show->callback([&] {
        run = [&cardNumber](CommandOutput& output) { return RunShow(output, cardNumber); };
    });

    CLI::App* add = app.add_subcommand(
        "add", "check a new card against the cards configured and add it as the next card");
    add->require_subcommand(1);
    add->add_flag("--dry-run", dryRun, "check and report, but write nothing");
    AddJsonFlag(add, json);
    const auto portOptions = [&](CLI::App* bus) {
        bus->fallthrough();
        bus->add_option("--ports", ports, "the number of ports: 4, 8 or 16")
            ->required()
            ->check(ValueCheck(ParsePortCount, "4|8|16"));
        bus->add_option("--com", com, "the first COM port: COMn or n from 1 to 132, or auto")
            ->required()
            ->check(ValueCheck(ParseStartingPort, "COMn|n|auto"));
    };
    CLI::App* isa = add->add_subcommand("isa", "an ISA card, with its base address and interrupt");
    isa->add_option("--base", base,
                    "the I/O base address: 100 to 3F0 (hex) in steps of 10, or auto")
        ->required()
        ->check(ValueCheck(ParseBaseAddress, "HEX|auto"));
    isa->add_option("--irq", irq, "the interrupt: 2, 3, 4, 5, 7, 10, 11, 12, 15, or auto")
        ->required()
        ->check(ValueCheck(ParseIrq, "N|auto"));
    portOptions(isa);
    CLI::App* pci = add->add_subcommand("pci", "a PCI card");
    portOptions(pci);
    const auto addCallback = [&](bool isIsa) {
        return [&, isIsa] {
            run = [&, isIsa](CommandOutput& output) {
                NewCardRequest request;
                request.isIsa = isIsa;
                request.portCount = ParsePortCount(ports).value.value_or(0);
                request.firstCom = ParseStartingPort(com).value;
                if (isIsa) {
                    request.baseAddress = ParseBaseAddress(base).value;
                    request.irq = ParseIrq(irq).value;
                }
                return RunAdd(output, request, dryRun);
            };
        };
    };
    isa->callback(addCallback(true));
    pci->callback(addCallback(false));

    CLI::App* remove = app.add_subcommand(
        "remove", "remove a card and move every card above it down by one number");
    remove->add_option("N", cardNumber, "the card number")
        ->required()
        ->check(ValueCheck(ParseCardNumber, "N"));
    remove->add_flag("--dry-run", dryRun, "check and report, but write nothing");
    AddJsonFlag(remove, json);
    remove->callback([&] {
        run = [&](CommandOutput& output) { return RunRemove(output, cardNumber, dryRun); };
    });

    CLI::App* check = app.add_subcommand(
        "check", "check the whole configuration, also the cards the card list does not reach");
    AddJsonFlag(check, json);
    check->callback([&] { run = [](CommandOutput& output) { return RunCheck(output); }; });

    app.allow_extras();
    const bool askedForJson = AskedForJson(argc, argv);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e, out, err);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e, out, err);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e, out, err);
    } catch (const CLI::ParseError& e) {
        return UsageError(app, askedForJson, e.what(), out, err);
    }
    if (!app.remaining().empty()) {
        return UsageError(app, askedForJson,
                          "unexpected argument '" + app.remaining().front() + "'", out, err);
    }
    if (!run) {
        return UsageError(app, askedForJson, "a command is required", out, err);
    }
    CommandOutput output(CommandName(app), json, out, err);
    return run(output);
}

}  // namespace zov::cli
