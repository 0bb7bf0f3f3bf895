// The values the add command takes on its command line: each a value of the settings dialog's
// lists, or `auto`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zov::cli {

// A value, nothing for `auto`, or the sentence that says why the text is not a value.
struct ParsedValue {
    std::optional<uint32_t> value;
    std::string error;  // empty when the text was a value or `auto`
};

// A card number: 1 and up, in decimal.
ParsedValue ParseCardNumber(const std::string& text);
// HEX (with or without 0x) from 100 to 3F0 in steps of 10, or auto.
ParsedValue ParseBaseAddress(const std::string& text);
// One of 2, 3, 4, 5, 7, 10, 11, 12, 15, or auto.
ParsedValue ParseIrq(const std::string& text);
// 4, 8 or 16 (never auto).
ParsedValue ParsePortCount(const std::string& text);
// COMn or n for n from 1 to 132, or auto.
ParsedValue ParseStartingPort(const std::string& text);

}  // namespace zov::cli
