#include "zovreg/query_format.h"

#include <array>

#include "platform/format.h"
#include "zovreg/key_path.h"
#include "zovreg/printable_text.h"

namespace zov::reg {
namespace {

constexpr const char* kIndent = "    ";

std::uint64_t LittleEndian(std::string_view data) {
    std::uint64_t number = 0;
    for (std::size_t i = data.size(); i > 0; --i) {
        number = (number << 8) | static_cast<unsigned char>(data[i - 1]);
    }
    return number;
}

std::string MultiString(std::string_view text) {
    // Drop the zeros that end the list, then show each inner separator as \0.
    while (!text.empty() && text.back() == '\0') {
        text.remove_suffix(1);
    }
    std::string shown;
    for (const char c : text) {
        shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    }
    return shown;
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

std::string DisplayData(DWORD type, std::string_view data) {
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            return std::string(data.substr(0, data.find('\0')));
        case REG_MULTI_SZ:
            return MultiString(data);
        case REG_DWORD:
            if (data.size() == 4) {
                return FormatText("0x%x", static_cast<unsigned>(LittleEndian(data)));
            }
            break;
        case REG_DWORD_BIG_ENDIAN:
            if (data.size() == 4) {
                const std::string reversed(data.rbegin(), data.rend());
                return FormatText("0x%x", static_cast<unsigned>(LittleEndian(reversed)));
            }
            break;
        case REG_QWORD:
            if (data.size() == 8) {
                return FormatText("0x%llx", static_cast<unsigned long long>(LittleEndian(data)));
            }
            break;
        default:
            break;
    }
    std::string hex;
    hex.reserve(data.size() * 2);
    for (const char byte : data) {
        hex += FormatText("%02X", static_cast<unsigned char>(byte));
    }
    return hex;
}

LSTATUS QueryPrinter::OnKey(std::string_view path, std::size_t depth) {
    const std::string name = Printable(FullKeyName(JoinKeyPath(base_, std::string(path))));
    if (!recursive_ && depth == 1) {
        if (!listed_subkey_) {
            out_ << "\n";
            listed_subkey_ = true;
        }
        out_ << name << "\n";
    } else {
        out_ << "\n" << name << "\n";
    }
    return out_ ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

LSTATUS QueryPrinter::OnValue(std::string_view name, DWORD type, const BYTE* data,
                              std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    out_ << kIndent << (name.empty() ? std::string("(Default)") : Printable(name)) << kIndent
         << RegistryTypeName(type) << kIndent << Printable(DisplayData(type, bytes)) << "\n";
    return out_ ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

}  // namespace zov::reg
