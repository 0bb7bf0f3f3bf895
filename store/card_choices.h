// The values a new card may take, in the order the settings dialog lists them. The dialog's
// resource data and the card commands both take their lists from here.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/format.h"

namespace zov {

// This utility never configures more cards than this; a ninth is refused where a card is added.
inline constexpr int kMaxCards = 8;
// The card limit notice, which the card list shows and a refused ninth card reports.
inline constexpr const char* kCardLimitCaption = "Error Adding Card";
inline constexpr const char* kCardLimitText =
    "There are already 8 cards installed on your system.\n\nNo additional cards can be added.";

// I/O base addresses 0x100 to 0x3F0 in steps of 0x10.
inline constexpr uint32_t kFirstBaseAddress = 0x100;
inline constexpr uint32_t kLastBaseAddress = 0x3F0;
inline constexpr uint32_t kBaseAddressStep = 0x10;
inline constexpr int kBaseAddressChoiceCount =
    static_cast<int>((kLastBaseAddress - kFirstBaseAddress) / kBaseAddressStep + 1);

inline constexpr std::array<uint32_t, 9> kIrqChoices = {2, 3, 4, 5, 7, 10, 11, 12, 15};
inline constexpr std::array<uint32_t, 3> kPortCountChoices = {4, 8, 16};

// Starting ports COM1 to COM132.
inline constexpr uint32_t kFirstStartingCom = 1;
inline constexpr uint32_t kLastStartingCom = 132;

inline constexpr uint32_t BaseAddressChoice(int index) {
    return kFirstBaseAddress + static_cast<uint32_t>(index) * kBaseAddressStep;
}

inline constexpr bool IsBaseAddressChoice(uint64_t address) {
    return address >= kFirstBaseAddress && address <= kLastBaseAddress &&
           (address - kFirstBaseAddress) % kBaseAddressStep == 0;
}

inline constexpr bool IsIrqChoice(uint64_t irq) {
    for (const uint32_t choice : kIrqChoices) {
        if (choice == irq) {
            return true;
        }
    }
    return false;
}

inline constexpr bool IsPortCountChoice(uint64_t ports) {
    for (const uint32_t choice : kPortCountChoices) {
        if (choice == ports) {
            return true;
        }
    }
    return false;
}

inline constexpr bool IsStartingComChoice(uint64_t com) {
    return com >= kFirstStartingCom && com <= kLastStartingCom;
}

// How the lists show each value: base addresses as upper-case hexadecimal without prefix ("2A0"),
// interrupts in decimal, starting ports as device names ("COM13").
inline std::string BaseAddressChoiceText(uint32_t address) {
    return FormatText("%X", static_cast<unsigned>(address));
}
inline std::string IrqChoiceText(uint32_t irq) {
    return FormatText("%u", static_cast<unsigned>(irq));
}
inline std::string StartingPortChoiceText(uint32_t com) {
    return FormatText("COM%u", static_cast<unsigned>(com));
}

}  // namespace zov
