#include "card_invariants.h"

#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "platform/format.h"

namespace zov::test {
namespace {

// The text after `prefix` of the first of `lines` that starts with it, or "".
std::string After(const std::vector<std::string>& lines, const std::string& prefix) {
    for (const std::string& line : lines) {
        if (line.rfind(prefix, 0) == 0) {
            return line.substr(prefix.size());
        }
    }
    return "";
}

}  // namespace

std::string CardInvariantProblems(const std::string& parameters, int expectedCards) {
    // The value lines of each key, by its path below the Parameters key.
    std::map<std::string, std::vector<std::string>> keys;
    std::map<std::string, int> subkeys;  // of each key below the Parameters key
    std::istringstream lines(parameters);
    std::string key;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  ", 0) == 0) {
            keys[key].push_back(line.substr(2));
            continue;
        }
        keys[key = line];
        const std::size_t slash = line.rfind('\\');
        ++subkeys[slash == std::string::npos ? "" : line.substr(0, slash)];
    }
    std::string problems;
    for (const auto& entry : keys) {  // "" holds the Parameters key's own values
        const std::string& path = entry.first;
        const int card = path.size() > 4 ? std::atoi(path.c_str() + 4) : 0;
        if (!path.empty() && path.find('\\') == std::string::npos &&
            (path != FormatText("Card%d", card) || card < 1 || card > expectedCards)) {
            problems += FormatText("%s is there beside %d cards\n", path.c_str(), expectedCards);
        }
    }
    std::set<std::string> comNames;
    for (int card = 1; card <= expectedCards; ++card) {
        const std::string name = FormatText("Card%d", card);
        if (keys.count(name) == 0) {
            problems += name + " is missing\n";
            continue;
        }
        const std::string count = After(keys[name], "ZOVPortCount = dword:");
        const long ports = count.empty() ? -1 : std::strtol(count.c_str(), nullptr, 16);
        if (ports <= 0 || ports != subkeys[name]) {
            problems += FormatText("%s has ZOVPortCount %ld and %d subkeys\n", name.c_str(), ports,
                                   subkeys[name]);
        }
        long firstCom = -1;
        for (long port = 1; port <= ports && port <= 64; ++port) {
            const std::string portName = FormatText("%s\\Port%ld", name.c_str(), port);
            // A missing port key or name, or one that is not a string, reads as "".
            const std::string device = After(keys[portName], "DOSDeviceName = sz:");
            if (port == 1 && device.size() > 3) {
                firstCom = std::strtol(device.c_str() + 3, nullptr, 10);
            }
            if (device != FormatText("COM%ld", firstCom + port - 1)) {
                problems += FormatText("%s is named \"%s\"\n", portName.c_str(), device.c_str());
            }
            if (!comNames.insert(device).second) {
                problems += FormatText("%s is named twice\n", device.c_str());
            }
        }
    }
    return problems;
}

}  // namespace zov::test
