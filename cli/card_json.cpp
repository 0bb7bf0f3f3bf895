#include "cli/card_json.h"

#include "store/card_key_reader.h"
#include "store/card_layout.h"

namespace zov::cli {

namespace {

nlohmann::json NumberOrNull(const std::optional<DWORD>& number) {
    return number ? nlohmann::json(*number) : nlohmann::json();
}

nlohmann::json NumberOrNull(const std::optional<std::vector<BYTE>>& bytes) {
    return bytes ? nlohmann::json(LittleEndianNumber(*bytes)) : nlohmann::json();
}

// The number of a device name that is "COM" and a number; null for any other name.
nlohmann::json FirstPortNumber(const std::string& name) {
    const auto number = StrictComNumberOf(name);
    return number ? nlohmann::json(*number) : nlohmann::json();
}

}  // namespace

nlohmann::json CardSummaryJson(const CardSummary& card) {
    return {{"number", card.number},
            {"bus", card.isPci ? "pci" : "isa"},
            {"ports", card.portCount},
            {"first_port", FirstPortNumber(card.firstPort)},
            {"first_port_name", card.firstPort},
            {"base_address", card.isPci ? nlohmann::json() : NumberOrNull(card.baseAddress)},
            {"irq", card.isPci ? nlohmann::json() : NumberOrNull(card.irq)},
            {"pci_bus", NumberOrNull(card.pciBus)},
            {"pci_slot", NumberOrNull(card.pciSlot)}};
}

nlohmann::json CardPropertiesJson(int number, const CardProperties& properties) {
    const bool isPci = properties.IsPci();
    const std::string firstPort = properties.firstPort.value_or("");
    return {
        {"number", number},
        {"bus", isPci ? "pci" : "isa"},
        {"ports", isPci ? LittleEndianNumber(*properties.portCount) : properties.subkeyCount},
        {"first_port", FirstPortNumber(firstPort)},
        {"first_port_name", properties.firstPort ? nlohmann::json(firstPort) : nlohmann::json()},
        {"base_address", NumberOrNull(properties.baseAddress)},
        {"irq", NumberOrNull(properties.irq)},
        {"pci_bus", NumberOrNull(properties.pciBus)},
        {"pci_slot", NumberOrNull(properties.pciSlot)}};
}

nlohmann::json NewCardJson(const NewCard& card, int number) {
    return {{"number", number},
            {"bus", card.isIsa ? "isa" : "pci"},
            {"ports", card.portCount},
            {"first_port", card.firstCom},
            {"first_port_name", ComPortName(card.firstCom)},
            {"last_port", card.LastCom()},
            {"base_address", card.isIsa ? nlohmann::json(card.baseAddress) : nlohmann::json()},
            {"irq", card.isIsa ? nlohmann::json(card.irq) : nlohmann::json()}};
}

const char* RefusalKindName(RefusalKind kind) {
    switch (kind) {
        case RefusalKind::kBaseAddressConflict:
            return "base_address_conflict";
        case RefusalKind::kIrqConflict:
            return "irq_conflict";
        case RefusalKind::kPortConflict:
            return "port_conflict";
        case RefusalKind::kCardLimit:
            return "card_limit";
        case RefusalKind::kCardsChanged:
            return "cards_changed";
        case RefusalKind::kNoSuchCard:
            return "no_such_card";
        case RefusalKind::kRegistryFailure:
            return "registry_failure";
        case RefusalKind::kLeftoverFile:
            return "leftover_file";
    }
    return "unknown";
}

}  // namespace zov::cli
