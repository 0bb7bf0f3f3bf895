#include "cli/card_values.h"

#include <cctype>

#include "platform/format.h"
#include "store/card_choices.h"

namespace zov::cli {

namespace {

bool IsAuto(const std::string& text) {
    return text == "auto";
}

// The number of a text of digits in the given base (10 or 16), at most 8 of them.
std::optional<uint32_t> Digits(const std::string& text, int base) {
    if (text.empty() || text.size() > 8) {
        return std::nullopt;
    }
    uint32_t number = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool digit = base == 16 ? std::isxdigit(byte) != 0 : std::isdigit(byte) != 0;
        if (!digit) {
            return std::nullopt;
        }
        const uint32_t value = std::isdigit(byte) != 0
                                   ? static_cast<uint32_t>(c - '0')
                                   : static_cast<uint32_t>(std::toupper(byte) - 'A' + 10);
        number = number * static_cast<uint32_t>(base) + value;
    }
    return number;
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

}  // namespace

ParsedValue ParseCardNumber(const std::string& text) {
    const auto number = Digits(text, 10);
    if (!number || *number == 0 || text[0] == '0') {
        return {std::nullopt, Quoted(text) + " is not a card number: give 1, 2, 3 ..."};
    }
    return {*number, ""};
}

ParsedValue ParseBaseAddress(const std::string& text) {
    if (IsAuto(text)) {
        return {};
    }
    const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const auto number = Digits(prefixed ? text.substr(2) : text, 16);
    if (!number || !IsBaseAddressChoice(*number)) {
        return {std::nullopt, Quoted(text) + " is not a base address: give " +
                                  BaseAddressChoiceText(kFirstBaseAddress) + " to " +
                                  BaseAddressChoiceText(kLastBaseAddress) +
                                  " (hexadecimal) in steps of " +
                                  BaseAddressChoiceText(kBaseAddressStep) + ", or auto"};
    }
    return {*number, ""};
}

ParsedValue ParseIrq(const std::string& text) {
    if (IsAuto(text)) {
        return {};
    }
    const auto number = Digits(text, 10);
    if (!number || !IsIrqChoice(*number)) {
        std::string choices;
        for (const uint32_t irq : kIrqChoices) {
            choices += IrqChoiceText(irq) + ", ";
        }
        return {std::nullopt,
                Quoted(text) + " is not an interrupt: give one of " + choices + "or auto"};
    }
    return {*number, ""};
}

ParsedValue ParsePortCount(const std::string& text) {
    const auto number = Digits(text, 10);
    if (!number || !IsPortCountChoice(*number)) {
        return {std::nullopt, Quoted(text) + " is not a port count: give 4, 8 or 16"};
    }
    return {*number, ""};
}

ParsedValue ParseStartingPort(const std::string& text) {
    if (IsAuto(text)) {
        return {};
    }
    const bool named =
        text.size() > 3 && (text.compare(0, 3, "COM") == 0 || text.compare(0, 3, "com") == 0);
    const auto number = Digits(named ? text.substr(3) : text, 10);
    if (!number || !IsStartingComChoice(*number)) {
        return {std::nullopt, Quoted(text) + " is not a starting port: give " +
                                  StartingPortChoiceText(kFirstStartingCom) + " to " +
                                  StartingPortChoiceText(kLastStartingCom) +
                                  " (or its number), or auto"};
    }
    return {*number, ""};
}

}  // namespace zov::cli
