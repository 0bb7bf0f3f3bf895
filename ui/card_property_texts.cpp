#include "ui/card_property_texts.h"

#include "platform/format.h"

namespace zov {

std::string BaseAddressText(const std::vector<BYTE>& bytes) {
    const int count = static_cast<int>(bytes.size());
    const int top = (count % 2 == 0 ? count / 2 : (count + 1) / 2) - 1;
    std::string text = "0x";
    for (int i = top; i >= 0; --i) {
        const unsigned byte = bytes[static_cast<std::size_t>(i)];
        if (byte == 0) {
            text += "00";
        } else {
            text += FormatText(i == top ? "%x" : "%02x", byte);
        }
    }
    return text;
}

std::string ShortHexText(const std::vector<BYTE>& bytes) {
    return bytes.empty() ? std::string() : FormatText("0x%x", static_cast<unsigned>(bytes[0]));
}

std::string FirstByteDecimalText(const std::vector<BYTE>& bytes) {
    return bytes.empty() ? std::string() : FormatText("%u", static_cast<unsigned>(bytes[0]));
}

}  // namespace zov
