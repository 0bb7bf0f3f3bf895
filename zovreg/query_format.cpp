#include "zovreg/query_format.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/format.h"
#include "zovreg/key_path.h"

namespace zov::reg {
namespace {

constexpr const char* kIndent = "    ";

std::uint64_t LittleEndian(const std::vector<std::uint8_t>& data) {
    std::uint64_t number = 0;
    for (std::size_t i = data.size(); i > 0; --i) {
        number = (number << 8) | data[i - 1];
    }
    return number;
}

std::string TextUpToZero(const std::vector<std::uint8_t>& data) {
    const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
    return {data.begin(), end};
}

std::string MultiString(const std::vector<std::uint8_t>& data) {
    std::string text(data.begin(), data.end());
    // Drop the zeros that end the list, then show each inner separator as \0.
    while (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    std::string shown;
    for (const char c : text) {
        shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    }
    return shown;
}

std::string KeyBlock(const KeySnapshot& key) {
    std::string out = FullKeyName(key.path) + "\n";
    for (const ValueSnapshot& value : key.values) {
        out += kIndent + (value.name.empty() ? std::string("(Default)") : value.name) + kIndent +
               RegistryTypeName(value.type) + kIndent + DisplayData(value) + "\n";
    }
    return out;
}

void AppendRecursive(const KeySnapshot& key, std::string* out) {
    *out += "\n" + KeyBlock(key);
    for (const KeySnapshot& subkey : key.subkeys) {
        AppendRecursive(subkey, out);
    }
}

}  // namespace

std::string RegistryTypeName(DWORD type) {
    static constexpr std::array<const char*, 12> kNames = {"REG_NONE",
                                                           "REG_SZ",
                                                           "REG_EXPAND_SZ",
                                                           "REG_BINARY",
                                                           "REG_DWORD",
                                                           "REG_DWORD_BIG_ENDIAN",
                                                           "REG_LINK",
                                                           "REG_MULTI_SZ",
                                                           "REG_RESOURCE_LIST",
                                                           "REG_FULL_RESOURCE_DESCRIPTOR",
                                                           "REG_RESOURCE_REQUIREMENTS_LIST",
                                                           "REG_QWORD"};
    if (type < kNames.size()) {
        return kNames[type];
    }
    return FormatText("0x%x", static_cast<unsigned>(type));
}

std::string DisplayData(const ValueSnapshot& value) {
    switch (value.type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            return TextUpToZero(value.data);
        case REG_MULTI_SZ:
            return MultiString(value.data);
        case REG_DWORD:
            if (value.data.size() == 4) {
                return FormatText("0x%x", static_cast<unsigned>(LittleEndian(value.data)));
            }
            break;
        case REG_DWORD_BIG_ENDIAN:
            if (value.data.size() == 4) {
                const std::vector<std::uint8_t> reversed(value.data.rbegin(), value.data.rend());
                return FormatText("0x%x", static_cast<unsigned>(LittleEndian(reversed)));
            }
            break;
        case REG_QWORD:
            if (value.data.size() == 8) {
                return FormatText("0x%llx",
                                  static_cast<unsigned long long>(LittleEndian(value.data)));
            }
            break;
        default:
            break;
    }
    std::string hex;
    for (const std::uint8_t byte : value.data) {
        hex += FormatText("%02X", byte);
    }
    return hex;
}

std::string FormatQuery(const KeySnapshot& key, bool recursive) {
    std::string out;
    if (recursive) {
        AppendRecursive(key, &out);
        return out;
    }
    out = "\n" + KeyBlock(key);
    if (!key.subkeys.empty()) {
        out += "\n";
    }
    for (const KeySnapshot& subkey : key.subkeys) {
        out += FullKeyName(subkey.path) + "\n";
    }
    return out;
}

}  // namespace zov::reg
