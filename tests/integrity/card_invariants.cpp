#include "card_invariants.h"

#include <cctype>
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
        name.resize(size);
        names.push_back(name);
    }
}

// The data of value `name` if it has type `type`, else nothing.
std::vector<BYTE> ValueOf(HKEY key, const char* name, DWORD type) {
    std::vector<BYTE> data(64);
    DWORD size = static_cast<DWORD>(data.size());
    DWORD actual = 0;
    if (RegQueryValueExA(key, name, nullptr, &actual, data.data(), &size) != ERROR_SUCCESS ||
        actual != type) {
        return {};
    }
    data.resize(size);
    return data;
}

std::string StringValue(HKEY key, const char* name) {
    const std::vector<BYTE> data = ValueOf(key, name, REG_SZ);
    return data.empty() || data.back() != 0 ? "" : std::string(data.begin(), data.end() - 1);
}

long DwordValue(HKEY key, const char* name) {
    const std::vector<BYTE> data = ValueOf(key, name, REG_DWORD);
    return data.size() == 4 ? static_cast<long>(DwordOf(data)) : -1;
}

// Problems of card `card`, whose COM names are added to `names`.
std::string CardProblems(HKEY parameters, int card, std::set<std::string>* names) {
    const std::string cardName = FormatText("Card%d", card);
    HKEY cardKey = nullptr;
    if (RegOpenKeyExA(parameters, cardName.c_str(), 0, KEY_READ, &cardKey) != ERROR_SUCCESS) {
        return cardName + " is missing\n";
    }
    std::string problems;
    const long ports = DwordValue(cardKey, "ZOVPortCount");
    const std::vector<std::string> subkeys = SubkeyNames(cardKey);
    if (ports <= 0 || static_cast<std::size_t>(ports) != subkeys.size()) {
        problems += FormatText("%s has ZOVPortCount %ld and %zu subkeys\n", cardName.c_str(), ports,
                               subkeys.size());
    }
    long firstCom = -1;
    for (long port = 1; port <= ports && port <= 64; ++port) {
        HKEY portKey = nullptr;
        const std::string portName = FormatText("Port%ld", port);
        if (RegOpenKeyExA(cardKey, portName.c_str(), 0, KEY_READ, &portKey) != ERROR_SUCCESS) {
            problems += FormatText("%s\\%s is missing\n", cardName.c_str(), portName.c_str());
            continue;
        }
        const std::string device = StringValue(portKey, "DOSDeviceName");
        RegCloseKey(portKey);
        if (port == 1 && device.rfind("COM", 0) == 0) {
            firstCom = std::strtol(device.c_str() + 3, nullptr, 10);
        }
        if (firstCom < 0 || device != FormatText("COM%ld", firstCom + port - 1)) {
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
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kParametersKey, 0, KEY_READ, &parameters) !=
        ERROR_SUCCESS) {
        return "the Parameters key cannot be opened\n";
    }
    std::string problems;
    std::set<std::string> expectedNames;
    for (int card = 1; card <= expectedCards; ++card) {
        expectedNames.insert(FormatText("CARD%d", card));
    }
    for (const std::string& name : SubkeyNames(parameters)) {
        std::string upper = name;
        for (char& c : upper) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        if (expectedNames.erase(upper) == 0) {
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
