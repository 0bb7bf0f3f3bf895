#include "card_invariants.h"

#include <strings.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "card_store_fixture.h"
#include "platform/format.h"
#include "platform/win32.h"

namespace zov::test {
namespace {

std::vector<std::string> SubkeyNames(HKEY key) {
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        std::string name(256, '\0');
        DWORD size = static_cast<DWORD>(name.size());
        if (RegEnumKeyExA(key, index, name.data(), &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return names;
        }
        names.push_back(name.substr(0, size));
    }
}

// The data of value `name` of the subkey `subkey` if it has type `type`, else nothing.
std::vector<BYTE> ValueOf(HKEY parent, const std::string& subkey, const char* name, DWORD type) {
    std::vector<BYTE> data(64);
    DWORD size = static_cast<DWORD>(data.size());
    DWORD actual = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return {};
    }
    const LSTATUS status = RegQueryValueExA(key, name, nullptr, &actual, data.data(), &size);
    RegCloseKey(key);
    data.resize(status == ERROR_SUCCESS && actual == type ? size : 0);
    return data;
}

// Problems of card `card`, whose COM names are added to `names`.
std::string CardProblems(HKEY parameters, int card, std::set<std::string>* names) {
    const std::string cardName = FormatText("Card%d", card);
    HKEY cardKey = nullptr;
    if (RegOpenKeyExA(parameters, cardName.c_str(), 0, KEY_READ, &cardKey) != ERROR_SUCCESS) {
        return cardName + " is missing\n";
    }
    const std::vector<BYTE> count = ValueOf(parameters, cardName, "ZOVPortCount", REG_DWORD);
    const long ports = count.size() == 4 ? static_cast<long>(DwordOf(count)) : -1;
    const std::size_t portKeys = SubkeyNames(cardKey).size();
    std::string problems;
    if (ports <= 0 || static_cast<std::size_t>(ports) != portKeys) {
        problems += FormatText("%s has ZOVPortCount %ld and %zu subkeys\n", cardName.c_str(), ports,
                               portKeys);
    }
    long firstCom = -1;
    for (long port = 1; port <= ports && port <= 64; ++port) {
        const std::string portName = FormatText("Port%ld", port);
        const std::vector<BYTE> data = ValueOf(cardKey, portName, "DOSDeviceName", REG_SZ);
        const std::string device(data.begin(), data.end() - (data.empty() ? 0 : 1));
        if (port == 1 && device.size() > 3) {
            firstCom = std::strtol(device.c_str() + 3, nullptr, 10);
        }
        // A missing port key or name reads as "" and is reported here too.
        if (device != FormatText("COM%ld", firstCom + port - 1) || data.back() != 0) {
            problems += FormatText("%s\\%s is named \"%s\"\n", cardName.c_str(), portName.c_str(),
                                   device.c_str());
        }
        if (!names->insert(device).second) {
            problems += FormatText("%s is named twice\n", device.c_str());
        }
    }
    RegCloseKey(cardKey);
    return problems;
}

}  // namespace

std::string CardInvariantProblems(int expectedCards) {
    HKEY parameters = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kParametersPath, 0, KEY_READ, &parameters) !=
        ERROR_SUCCESS) {
        return "the Parameters key cannot be opened\n";
    }
    std::string problems;
    for (const std::string& name : SubkeyNames(parameters)) {
        const int card =
            strncasecmp(name.c_str(), "Card", 4) == 0 ? std::atoi(name.c_str() + 4) : 0;
        if (card < 1 || card > expectedCards || name.substr(4) != std::to_string(card)) {
            problems += FormatText("%s is there beside %d cards\n", name.c_str(), expectedCards);
        }
    }
    std::set<std::string> comNames;
    for (int card = 1; card <= expectedCards; ++card) {
        problems += CardProblems(parameters, card, &comNames);
    }
    RegCloseKey(parameters);
    return problems;
}

}  // namespace zov::test
