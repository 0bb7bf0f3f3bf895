// The card objects of the JSON output, shared by the commands.
#pragma once

#include <nlohmann/json.hpp>

#include "store/card_census.h"
#include "store/card_conflict.h"
#include "store/card_properties.h"
#include "store/new_card.h"

namespace zov::cli {

// A listed card: number, bus, ports, first_port, first_port_name, base_address, irq, pci_bus,
// pci_slot (null where the card has none).
nlohmann::json CardSummaryJson(const CardSummary& card);

// A card's stored properties, in the same fields as a listed card.
nlohmann::json CardPropertiesJson(int number, const CardProperties& properties);

// A new card as written: number, bus, ports, first_port, first_port_name, last_port,
// base_address and irq (null for PCI).
nlohmann::json NewCardJson(const NewCard& card, int number);

// The stable name of a refusal's kind: "base_address_conflict", "card_limit", ...
const char* RefusalKindName(RefusalKind kind);

}  // namespace zov::cli
