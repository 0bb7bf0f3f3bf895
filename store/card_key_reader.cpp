#include "store/card_key_reader.h"

#include <array>

#include "platform/win32/scoped_key.h"
#include "store/card_layout.h"

namespace zov {

std::optional<std::vector<BYTE>> QueryValueWithin(HKEY key, const char* valueName, DWORD room) {
    std::vector<BYTE> data(room);
    DWORD size = room;
    if (RegQueryValueExA(key, valueName, nullptr, nullptr, data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.resize(size < room ? size : room);
    return data;
}

DWORD LittleEndianNumber(const std::vector<BYTE>& bytes) {
    DWORD number = 0;
    for (std::size_t i = 0; i < bytes.size() && i < 4; ++i) {
        number |= static_cast<DWORD>(bytes[i]) << (8 * i);
    }
    return number;
}

std::optional<DWORD> ReadFourByteNumber(HKEY key, const char* valueName) {
    const auto bytes = QueryValueWithin(key, valueName, 4);
    if (!bytes) {
        return std::nullopt;
    }
    return LittleEndianNumber(*bytes);
}

DWORD CountSubkeys(HKEY key) {
    // The registry's own contract for this loop: an 8-character buffer, its size reset before
    // every step.
    std::array<char, 8> name{};
    DWORD count = 0;
    for (DWORD index = 0;; ++index) {
        DWORD size = static_cast<DWORD>(name.size());
        const LSTATUS status =
            RegEnumKeyExA(key, index, name.data(), &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
            ++count;
            continue;
        }
        return count;
    }
}

std::string DeviceNameText(const std::vector<BYTE>& bytes) {
    std::string text;
    for (const BYTE byte : bytes) {
        if (byte == 0) {
            break;
        }
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

std::optional<std::string> ReadFirstPortName(HKEY cardKey, REGSAM access) {
    ScopedKey port;
    if (port.Open(cardKey, kFirstPortKeyName, access) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const auto bytes = QueryValueWithin(port.Get(), kDosDeviceNameValue, kDosDeviceNameSize);
    if (!bytes) {
        return std::nullopt;
    }
    return DeviceNameText(*bytes);
}

}  // namespace zov
