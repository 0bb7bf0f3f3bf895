// The commands that change the cards: add and remove.
#include "cli/card_command_runs.h"
#include "cli/card_json.h"
#include "cli/exit_status.h"
#include "platform/format.h"
#include "store/administrator.h"
#include "store/card_census.h"
#include "store/card_removal.h"
#include "store/new_card_commit.h"

namespace zov::cli {

namespace {

// A registry that refused the write could not be used; every other refusal is the command's.
int ExitCodeOf(RefusalKind kind) {
    return kind == RefusalKind::kRegistryFailure ? kExitCannotRun : kExitRefused;
}

// Only administrators change the cards, as in the dialogs; a dry run answers as the real run
// would.
bool MayChange(CommandOutput& output, int& exitCode) {
    if (IsUserAdministrator()) {
        return true;
    }
    exitCode = output.Fail(kExitRefused, "not_administrator",
                           "only administrators may add or remove cards; run this as a member "
                           "of group 0 (root)");
    return false;
}

std::string Describe(const NewCard& card) {
    std::string text =
        FormatText("%s, %u ports, COM%u to COM%llu", card.isIsa ? "ISA" : "PCI",
                   static_cast<unsigned>(card.portCount), static_cast<unsigned>(card.firstCom),
                   static_cast<unsigned long long>(card.LastCom()));
    if (card.isIsa) {
        text += FormatText(", base address 0x%X, IRQ %u", static_cast<unsigned>(card.baseAddress),
                           static_cast<unsigned>(card.irq));
    }
    return text;
}

}  // namespace

int RunAdd(CommandOutput& output, const NewCardRequest& request, bool dryRun) {
    int exitCode = kExitUnchanged;
    if (!RegistryUsable(output, exitCode) || !MayChange(output, exitCode)) {
        return exitCode;
    }
    const CardAddition addition = AddRequestedCard(request, dryRun);
    const nlohmann::json card = NewCardJson(addition.card, addition.number);
    if (addition.refusal) {
        return output.Fail(ExitCodeOf(addition.refusal->kind),
                           RefusalKindName(addition.refusal->kind), addition.refusal->text,
                           addition.refusal->caption, {{"dry_run", dryRun}, {"card", card}});
    }
    nlohmann::json automatic = nlohmann::json::array();
    if (request.isIsa && !request.baseAddress) {
        automatic.push_back("base_address");
    }
    if (request.isIsa && !request.irq) {
        automatic.push_back("irq");
    }
    if (!request.firstCom) {
        automatic.push_back("first_port");
    }
    if (output.Json()) {
        nlohmann::json object = output.Object();
        object["dry_run"] = dryRun;
        object["changed"] = !dryRun;
        object["card"] = card;
        object["automatic"] = automatic;
        output.PrintJson(object);
    } else {
        output.Text() << FormatText("Card%d %s: %s\n", addition.number,
                                    dryRun ? "would be added" : "added",
                                    Describe(addition.card).c_str());
    }
    return dryRun ? kExitUnchanged : kExitChanged;
}

int RunRemove(CommandOutput& output, int cardNumber, bool dryRun) {
    int exitCode = kExitUnchanged;
    if (!RegistryUsable(output, exitCode) || !MayChange(output, exitCode)) {
        return exitCode;
    }
    const CardCensus census = TakeCardCensus();
    nlohmann::json renumbered = nlohmann::json::array();
    for (int from = cardNumber + 1; from <= census.cardCount; ++from) {
        renumbered.push_back({{"from", from}, {"to", from - 1}});
    }
    const nlohmann::json facts = {{"dry_run", dryRun},
                                  {"card", cardNumber},
                                  {"count_before", census.cardCount},
                                  {"renumbered", renumbered}};
    std::optional<CardRefusal> refusal = NoSuchCard(cardNumber, census.cardCount);
    if (!refusal && !dryRun) {
        refusal = RemoveNumberedCard(cardNumber, census.cardCount);
    }
    const bool leftover = refusal && refusal->kind == RefusalKind::kLeftoverFile;
    if (refusal && !leftover) {
        return output.Fail(ExitCodeOf(refusal->kind), RefusalKindName(refusal->kind), refusal->text,
                           refusal->caption, facts);
    }
    if (leftover) {
        output.Message(refusal->text);
    }
    if (output.Json()) {
        nlohmann::json object = output.Object();
        object.update(facts);
        object["changed"] = !dryRun;
        object["count_after"] = census.cardCount - 1;
        if (leftover) {
            object["warning"] = refusal->text;
        }
        output.PrintJson(object);
    } else {
        output.Text() << FormatText("Card%d %s", cardNumber,
                                    dryRun ? "would be removed" : "removed");
        for (const nlohmann::json& move : renumbered) {
            output.Text() << FormatText("; Card%d becomes Card%d", move["from"].get<int>(),
                                        move["to"].get<int>());
        }
        output.Text() << '\n';
    }
    return dryRun ? kExitUnchanged : kExitChanged;
}

}  // namespace zov::cli
