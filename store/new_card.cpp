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

std::optional<uint32_t> StrictComNumberOf(const std::string& portName) {
    constexpr std::size_t kMaxDigits = 10;
    if (portName.size() < 4 || portName.size() > 3 + kMaxDigits || portName.rfind("COM", 0) != 0 ||
        portName[3] == '0') {
        return std::nullopt;
    }
    uint64_t number = 0;
    for (std::size_t i = 3; i < portName.size(); ++i) {
        if (portName[i] < '0' || portName[i] > '9') {
            return std::nullopt;
        }
        number = number * 10 + static_cast<uint64_t>(portName[i] - '0');
    }
    if (number > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(number);
}

NewCard DescribeNewCard(const std::string& startingPort, int portCountIndex, int busTypeIndex,
                        const std::string& baseAddressText, const std::string& irqText) {
    NewCard card;
    card.isIsa = busTypeIndex == 0;
    card.firstCom = ComNumberOf(startingPort);
    card.portCount = portCountIndex == 0 ? 4 : portCountIndex == 1 ? 8 : 16;
    if (card.isIsa) {
        card.baseAddress = static_cast<DWORD>(std::strtoul(baseAddressText.c_str(), nullptr, 16));
        card.irq = static_cast<DWORD>(std::strtoul(irqText.c_str(), nullptr, 10));
    }
    return card;
}

}  // namespace zov
