// A new card as the settings dialog describes it, with the numbers derived from its texts.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/base.h"

namespace zov {

struct NewCard {
    bool isIsa = true;
    uint32_t firstCom = 0;   // S: the number after "COM" in the starting-port text
    uint32_t portCount = 0;  // K: 4, 8 or 16
    uint64_t lastCom = 0;    // L = S + K - 1, kept wide so that it never wraps
    std::string baseAddressText;
    std::string irqText;
    DWORD baseAddress = 0;  // the base-address text read as hexadecimal
    DWORD irq = 0;          // the IRQ text read as decimal
};

// Port-count index 0 is 4 ports, 1 is 8, any other 16; bus-type index 0 is ISA, any other PCI.
NewCard DescribeNewCard(const std::string& startingPort, int portCountIndex, int busTypeIndex,
                        const std::string& baseAddressText, const std::string& irqText);

// The number a port name carries after its first three characters ("COM13" gives 13), read as
// strtol reads it (leading blanks and a sign accepted, no digits giving 0), as 32 bits.
uint32_t ComNumberOf(const std::string& portName);

}  // namespace zov
