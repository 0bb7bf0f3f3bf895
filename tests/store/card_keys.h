// Card keys in the registry fixture's notation (one key path a line, its values indented below),
// under the driver's Parameters key.
#pragma once

#include <string>

namespace zov::test {

inline constexpr const char* kParametersPath =
    "SYSTEM\\CurrentControlSet\\Services\\ZOVCOM\\Parameters";

inline std::string CardPath(int card) {
    return std::string(kParametersPath) + "\\Card" + std::to_string(card);
}

// Card `card` with the value lines `values` and port keys Port1 to Port<ports>, named from
// COM<firstCom> upwards.
inline std::string CardKeys(int card, const std::string& values, int ports, int firstCom) {
    std::string text = CardPath(card) + "\n" + values;
    for (int port = 1; port <= ports; ++port) {
        text += CardPath(card) + "\\Port" + std::to_string(port) + "\n  DOSDeviceName = sz:COM" +
                std::to_string(firstCom + port - 1) + "\n";
    }
    return text;
}

inline std::string IsaCardKeys(int card, int ports, int firstCom, unsigned baseAddress = 0x2A0,
                               unsigned irq = 7) {
    return CardKeys(card,
                    "  ZOVBaseAddress = dword:" + std::to_string(baseAddress) +
                        "\n  ZOVIrq = dword:" + std::to_string(irq) + "\n",
                    ports, firstCom);
}

inline std::string PciCardKeys(int card, int ports, int firstCom) {
    return CardKeys(card, "  ZOVPortCount = dword:" + std::to_string(ports) + "\n", ports,
                    firstCom);
}

// Cards 1 to count, PCI with four ports each, card k on COM firstCom+4(k-1) and up.
inline std::string PciCards(int count, int firstCom = 1) {
    std::string cards;
    for (int card = 1; card <= count; ++card) {
        cards += PciCardKeys(card, 4, firstCom + 4 * (card - 1));
    }
    return cards;
}

}  // namespace zov::test
