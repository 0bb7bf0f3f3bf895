// The configuration check: reads the whole Parameters key, also the cards the census does not
// reach, and finds what keeps the driver or this utility from seeing the cards as configured.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zov {

enum class ProblemKind {
    kGap,                // a missing card number hides every card above it
    kUnlistedCard,       // counted by the census but not listed: no readable Port1 name
    kTooManyCards,       // more than eight card keys
    kPortRangeOverlap,   // two cards' COM ranges overlap
    kSharedBaseAddress,  // two ISA cards on one base address
    kSharedIrq,          // two ISA cards on one interrupt
    kNonPortSubkey,      // a subkey that is not a port key (it inflates an ISA card's port count)
    kMissingPortKey,     // a port key below the card's port count is missing
    kExtraPortKey,       // a port key above a PCI card's port count
    kBadDeviceName,      // a DOSDeviceName that is missing, too long, or not "COM" and a number
    kBadValue,           // a value of the wrong type or size
};

struct ConfigurationProblem {
    std::optional<int> card;  // the card it is about; nothing for the whole configuration
    ProblemKind kind = ProblemKind::kBadValue;
    std::string text;  // one plain sentence
};

// The stable name of a kind, for scripts: "gap", "unlisted_card", ...
const char* ProblemKindName(ProblemKind kind);

// Every problem found, in one snapshot of the registry: first those of the whole
// configuration, then each card's in card order, then those between two cards.
std::vector<ConfigurationProblem> CheckCardConfiguration();

}  // namespace zov
