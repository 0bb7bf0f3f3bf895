#include "store/configuration_check.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "platform/format.h"
#include "platform/win32/registry.h"
#include "platform/win32/scoped_key.h"
#include "store/card_census.h"
#include "store/card_choices.h"
#include "store/card_conflict.h"
#include "store/card_key_reader.h"
#include "store/card_layout.h"
#include "store/new_card.h"

namespace zov {

namespace {

// Registry key names have at most 255 characters.
constexpr DWORD kKeyNameRoom = 256;

// The number of a name that is `prefix` (compared without case, as the registry compares names)
// and a decimal number without leading zeros, as "Card%d" and "Port%d" write them.
std::optional<int> NumberAfter(const std::string& name, const std::string& prefix) {
    constexpr std::size_t kMaxDigits = 9;
    if (name.size() <= prefix.size() || name.size() > prefix.size() + kMaxDigits) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) !=
            std::toupper(static_cast<unsigned char>(prefix[i]))) {
            return std::nullopt;
        }
    }
    if (name[prefix.size()] == '0') {
        return std::nullopt;
    }
    int number = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(name[i])) == 0) {
            return std::nullopt;
        }
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

std::vector<std::string> SubkeyNames(HKEY key) {
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        std::string name(kKeyNameRoom, '\0');
        DWORD size = kKeyNameRoom;
        if (RegEnumKeyExA(key, index, name.data(), &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return names;
        }
        name.resize(size);
        names.push_back(std::move(name));
    }
}

const char* TypeName(DWORD type) {
    switch (type) {
        case REG_SZ:
            return "REG_SZ";
        case REG_EXPAND_SZ:
            return "REG_EXPAND_SZ";
        case REG_BINARY:
            return "REG_BINARY";
        case REG_DWORD:
            return "REG_DWORD";
        case REG_MULTI_SZ:
            return "REG_MULTI_SZ";
        case REG_QWORD:
            return "REG_QWORD";
        default:
            return "value of another type";
    }
}

class CardChecker {
  public:
    explicit CardChecker(std::vector<ConfigurationProblem>& problems) : problems_(problems) {}

    void Check(int card) {
        card_ = card;
        ScopedKey key;
        if (key.Open(HKEY_LOCAL_MACHINE, CardKeyPath(card), KEY_READ) != ERROR_SUCCESS) {
            Report(ProblemKind::kUnlistedCard, FormatText("Card%d cannot be read.", card));
            return;
        }
        for (const char* name :
             {kBaseAddressValue, kIrqValue, kPortCountValue, kBusValue, kSlotValue}) {
            CheckNumberValue(key.Get(), name);
        }
        CheckPorts(key.Get());
    }

  private:
    void Report(ProblemKind kind, std::string text) {
        problems_.push_back({card_, kind, std::move(text)});
    }

    void CheckNumberValue(HKEY key, const char* name) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
            return;
        }
        if (type != REG_DWORD || size != 4) {
            Report(ProblemKind::kBadValue,
                   FormatText("Card%d: %s is a %s of %lu bytes, not a 4-byte REG_DWORD.", card_,
                              name, TypeName(type), static_cast<unsigned long>(size)));
        }
    }

    void CheckPorts(HKEY key) {
        const auto portCountBytes = QueryValueWithin(key, kPortCountValue, 4);
        const bool isPci = portCountBytes.has_value();
        std::set<int> ports;
        for (const std::string& name : SubkeyNames(key)) {
            if (const auto port = NumberAfter(name, "Port")) {
                ports.insert(*port);
            } else {
                Report(ProblemKind::kNonPortSubkey,
                       FormatText("Card%d has a subkey \"%s\" that is not a port key%s.", card_,
                                  name.c_str(),
                                  isPci ? "" : ", counted as one more port of this ISA card"));
            }
        }
        const int highest = ports.empty() ? 0 : *ports.rbegin();
        const int expected =
            isPci ? static_cast<int>(std::min<DWORD>(LittleEndianNumber(*portCountBytes), 1000))
                  : highest;
        for (int port = 1; port <= expected; ++port) {
            if (ports.count(port) == 0) {
                Report(
                    ProblemKind::kMissingPortKey,
                    FormatText("Card%d has no Port%d key, but %d ports.", card_, port, expected));
            }
        }
        for (const int port : ports) {
            if (port > expected) {
                Report(ProblemKind::kExtraPortKey,
                       FormatText("Card%d has a Port%d key, beyond its %d ports.", card_, port,
                                  expected));
            }
            CheckDeviceName(key, port);
        }
        if (ports.count(1) == 0) {
            Report(ProblemKind::kUnlistedCard,
                   FormatText("Card%d has no Port1 key, so the card list cannot show it.", card_));
        }
    }

    void CheckDeviceName(HKEY cardKey, int port) {
        ScopedKey portKey;
        if (portKey.Open(cardKey, PortKeyName(port), KEY_READ) != ERROR_SUCCESS) {
            return;
        }
        DWORD type = 0;
        DWORD size = 0;
        const bool first = port == 1;
        const char* unlisted = first ? ", so the card list cannot show the card" : "";
        if (RegQueryValueExA(portKey.Get(), kDosDeviceNameValue, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS) {
            Report(first ? ProblemKind::kUnlistedCard : ProblemKind::kBadDeviceName,
                   FormatText("Card%d Port%d has no DOSDeviceName%s.", card_, port, unlisted));
            return;
        }
        if (size > kDosDeviceNameSize) {
            Report(first ? ProblemKind::kUnlistedCard : ProblemKind::kBadDeviceName,
                   FormatText("Card%d Port%d: the DOSDeviceName is longer than %u characters%s.",
                              card_, port, kDosDeviceNameSize - 1, unlisted));
            return;
        }
        if (type != REG_SZ) {
            Report(ProblemKind::kBadValue,
                   FormatText("Card%d Port%d: DOSDeviceName is a %s, not a REG_SZ.", card_, port,
                              TypeName(type)));
        }
        const auto bytes = QueryValueWithin(portKey.Get(), kDosDeviceNameValue, kDosDeviceNameSize);
        const std::string name = bytes ? DeviceNameText(*bytes) : std::string();
        if (!StrictComNumberOf(name)) {
            Report(ProblemKind::kBadDeviceName,
                   FormatText("Card%d Port%d: the device name \"%s\" is not COM and a number.",
                              card_, port, name.c_str()));
        }
    }

    std::vector<ConfigurationProblem>& problems_;
    int card_ = 0;
};

void CheckGaps(const std::set<int>& cards, std::vector<ConfigurationProblem>& problems) {
    int expected = 1;
    for (const int card : cards) {
        if (card > expected) {
            problems.push_back(
                {std::nullopt, ProblemKind::kGap,
                 card == expected + 1
                     ? FormatText("There is no Card%d, so Card%d and every card above it are "
                                  "not listed and not checked against a new card.",
                                  expected, card)
                     : FormatText("There are no Card%d to Card%d, so Card%d and every card above "
                                  "it are not listed and not checked against a new card.",
                                  expected, card - 1, card)});
        }
        expected = card + 1;
    }
}

void CheckPairs(const std::vector<CheckedCard>& cards,
                std::vector<ConfigurationProblem>& problems) {
    for (std::size_t j = 0; j < cards.size(); ++j) {
        const CheckedCard& later = cards[j];
        for (std::size_t i = 0; i < j; ++i) {
            const CheckedCard& earlier = cards[i];
            if (!earlier.isPci && !later.isPci) {
                if (earlier.baseAddress && later.baseAddress &&
                    *earlier.baseAddress == *later.baseAddress) {
                    problems.push_back(
                        {later.number, ProblemKind::kSharedBaseAddress,
                         FormatText("Card%d and Card%d are both on base address 0x%X.",
                                    earlier.number, later.number,
                                    static_cast<unsigned>(*later.baseAddress))});
                }
                if (earlier.irq && later.irq && *earlier.irq == *later.irq) {
                    problems.push_back(
                        {later.number, ProblemKind::kSharedIrq,
                         FormatText("Card%d and Card%d are both on interrupt %u.", earlier.number,
                                    later.number, static_cast<unsigned>(*later.irq))});
                }
            }
            if (earlier.portCount == 0 || later.portCount == 0) {
                continue;
            }
            const uint64_t earlierLast = earlier.firstCom + earlier.portCount - 1;
            const uint64_t laterLast = later.firstCom + later.portCount - 1;
            if (later.firstCom <= earlierLast && earlier.firstCom <= laterLast) {
                problems.push_back(
                    {later.number, ProblemKind::kPortRangeOverlap,
                     FormatText("Card%d (COM%llu to COM%llu) and Card%d (COM%llu to COM%llu) "
                                "share COM ports.",
                                earlier.number, static_cast<unsigned long long>(earlier.firstCom),
                                static_cast<unsigned long long>(earlierLast), later.number,
                                static_cast<unsigned long long>(later.firstCom),
                                static_cast<unsigned long long>(laterLast))});
            }
        }
    }
}

}  // namespace

const char* ProblemKindName(ProblemKind kind) {
    switch (kind) {
        case ProblemKind::kGap:
            return "gap";
        case ProblemKind::kUnlistedCard:
            return "unlisted_card";
        case ProblemKind::kTooManyCards:
            return "too_many_cards";
        case ProblemKind::kPortRangeOverlap:
            return "port_range_overlap";
        case ProblemKind::kSharedBaseAddress:
            return "shared_base_address";
        case ProblemKind::kSharedIrq:
            return "shared_irq";
        case ProblemKind::kNonPortSubkey:
            return "non_port_subkey";
        case ProblemKind::kMissingPortKey:
            return "missing_port_key";
        case ProblemKind::kExtraPortKey:
            return "extra_port_key";
        case ProblemKind::kBadDeviceName:
            return "bad_device_name";
        case ProblemKind::kBadValue:
            return "bad_value";
    }
    return "unknown";
}

std::vector<ConfigurationProblem> CheckCardConfiguration() {
    std::vector<ConfigurationProblem> problems;
    const RegistryReadScope snapshot;  // one consistent view of every card
    ScopedKey parameters;
    if (parameters.Open(HKEY_LOCAL_MACHINE, kParametersKeyPath, KEY_READ) != ERROR_SUCCESS) {
        return problems;
    }
    std::set<int> cards;
    for (const std::string& name : SubkeyNames(parameters.Get())) {
        if (const auto card = NumberAfter(name, "Card")) {
            cards.insert(*card);
        }
    }
    CheckGaps(cards, problems);
    if (cards.size() > static_cast<std::size_t>(kMaxCards)) {
        problems.push_back({std::nullopt, ProblemKind::kTooManyCards,
                            FormatText("There are %zu cards; at most %d can be configured.",
                                       cards.size(), kMaxCards)});
    }
    CardChecker checker(problems);
    std::vector<CheckedCard> checked;
    for (const int card : cards) {
        checker.Check(card);
        checked.push_back(ReadCheckedCard(card, KEY_READ));
    }
    CheckPairs(checked, problems);
    return problems;
}

}  // namespace zov
