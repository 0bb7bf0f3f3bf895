#include "store/new_card.h"

#include <cstdlib>

namespace zov {

uint32_t ComNumberOf(const std::string& portName) {
    if (portName.size() < 3) {
        return 0;
    }
    // Wrapping to 32 bits is the unsigned comparison the checks use.
    return static_cast<uint32_t>(std::strtoll(portName.c_str() + 3, nullptr, 10));
}

NewCard DescribeNewCard(const std::string& startingPort, int portCountIndex, int busTypeIndex,
                        const std::string& baseAddressText, const std::string& irqText) {
    NewCard card;
    card.isIsa = busTypeIndex == 0;
    card.firstCom = ComNumberOf(startingPort);
    card.portCount = portCountIndex == 0 ? 4 : portCountIndex == 1 ? 8 : 16;
    card.lastCom = uint64_t{card.firstCom} + card.portCount - 1;
    if (card.isIsa) {
        card.baseAddressText = baseAddressText;
        card.irqText = irqText;
        card.baseAddress = static_cast<DWORD>(std::strtoul(baseAddressText.c_str(), nullptr, 16));
        card.irq = static_cast<DWORD>(std::strtoul(irqText.c_str(), nullptr, 10));
    }
    return card;
}

}  // namespace zov
