// A new card by its typed values, and the conversion of the settings dialog's choices into one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/win32/base.h"

namespace zov {

struct NewCard {
    bool isIsa = true;
    uint32_t firstCom = 0;   // S: the first COM number
    uint32_t portCount = 0;  // K: 4, 8 or 16
    DWORD baseAddress = 0;   // ISA only
    DWORD irq = 0;           // ISA only

    // L = S + K - 1, wide so that it never wraps.
    uint64_t LastCom() const { return uint64_t{firstCom} + portCount - 1; }
};

// A new card as a script asks for it: a value left empty is chosen automatically, as the first
// value in the settings dialog's list order with which the card passes every check.
struct NewCardRequest {
    bool isIsa = true;
    uint32_t portCount = 0;
    std::optional<uint32_t> firstCom;
    std::optional<DWORD> baseAddress;  // ISA only
    std::optional<DWORD> irq;          // ISA only
};

// The settings dialog's choices: port-count index 0 is 4 ports, 1 is 8, any other 16; bus-type
// index 0 is ISA, any other PCI; the base address read as hexadecimal, the IRQ as decimal.
NewCard DescribeNewCard(const std::string& startingPort, int portCountIndex, int busTypeIndex,
                        const std::string& baseAddressText, const std::string& irqText);

// The number a port name carries after its first three characters ("COM13" gives 13), read as
// strtol reads it (leading blanks and a sign accepted, no digits giving 0), as 32 bits.
uint32_t ComNumberOf(const std::string& portName);

// The COM number of a name that is exactly "COM" and a decimal number without leading zeros
// that fits 32 bits; nothing for any other name.
std::optional<uint32_t> StrictComNumberOf(const std::string& portName);

}  // namespace zov
