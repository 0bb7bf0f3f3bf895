#include "store/card_layout.h"

#include "platform/format.h"

namespace zov {

std::string CardKeyPath(int cardNumber) {
    return FormatText("SYSTEM\\CurrentControlSet\\Services\\ZOVCOM\\Parameters\\Card%d",
                      cardNumber);
}

std::string CardKeyPathFromChar(char cardNumberChar) {
    return FormatText("SYSTEM\\CurrentControlSet\\Services\\ZOVCOM\\Parameters\\Card%c",
                      cardNumberChar);
}

std::string CardKeyName(int cardNumber) {
    return FormatText("Card%d", cardNumber);
}

std::string PortKeyName(int portNumber) {
    return FormatText("Port%d", portNumber);
}

std::string ComPortName(long long comNumber) {
    return FormatText("COM%lld", comNumber);
}

}  // namespace zov
