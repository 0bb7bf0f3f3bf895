// Shared pieces of the zovreg tests: the tool run in-process against the test's registry, values
// of any type, and the two card kinds of the driver's layout as example data.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "registry_test_support.h"

namespace zov::test {

using ToolRun = ProgramRun;

inline constexpr const char* kParameters =
    "SYSTEM\\CurrentControlSet\\Services\\ZOVCOM\\Parameters";

class ZovregTest : public RegistryTest {
  protected:
    // Runs zovreg with args; input is its standard input; answer is what the terminal would
    // say to a question (nullopt: there is no terminal). Questions asked land in questions_.
    ToolRun Run(const std::vector<std::string>& args, const std::string& input = "",
                std::optional<bool> answer = std::nullopt);

    // Sets a value of any type below HKEY_LOCAL_MACHINE, creating the key.
    void SetValue(const std::string& path, const std::string& name, DWORD type,
                  const std::vector<std::uint8_t>& data);

    // Card1, an ISA card at 0x2A0, IRQ 7, with 8 ports from COM13; Card2, a PCI card with 4
    // ports from COM21, its bus and slot, and the base address and IRQ given to it elsewhere.
    void BuildTwoCards();

    std::string ReadText(const std::string& path) const;
    void WriteText(const std::string& path, const std::string& text) const;

    std::vector<std::string> questions_;
};

// The bytes of a text as UTF-16LE; the text must be ASCII (other characters are spelt out as
// bytes in the tests that need them).
std::string AsciiToUtf16Le(const std::string& text);

std::vector<std::uint8_t> Bytes(const std::string& text);

}  // namespace zov::test
