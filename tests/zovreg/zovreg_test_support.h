// Shared pieces of the zovreg tests: the tool run in-process against the test's registry, values
// of any type, and the two card kinds of the driver's layout as example data.
#pragma once

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/format.h"
#include "registry_test_support.h"
#include "zovreg/zovreg_tool.h"

namespace zov::test {

using ToolRun = ProgramRun;

inline constexpr const char* kParameters =
    "SYSTEM\\CurrentControlSet\\Services\\ZOVCOM\\Parameters";

inline std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// The bytes of a text as UTF-16LE; the text must be ASCII (other characters are spelt out as
// bytes in the tests that need them).
inline std::string AsciiToUtf16Le(const std::string& text) {
    std::string bytes;
    for (const char c : text) {
        EXPECT_GE(c, 0) << "not ASCII";
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

class ZovregTest : public RegistryTest {
  protected:
    // Runs zovreg with args; input is its standard input; answer is what the terminal would
    // say to a question (nullopt: there is no terminal). Questions asked land in questions_.
    ToolRun Run(const std::vector<std::string>& args, const std::string& input = "",
                std::optional<bool> answer = std::nullopt) {
        std::ostringstream out;
        std::ostringstream err;
        std::istringstream in(input);
        reg::ToolStreams streams{out, err, in, [this, answer](const std::string& question) {
                                     questions_.push_back(question);
                                     return answer;
                                 }};
        ToolRun run;
        run.status = reg::RunZovreg(args, streams);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    // Sets a value of any type below HKEY_LOCAL_MACHINE, creating the key.
    void SetValue(const std::string& path, const std::string& name, DWORD type,
                  const std::vector<std::uint8_t>& data) {
        HKEY key = nullptr;
        ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, path.c_str(), &key), ERROR_SUCCESS) << path;
        EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS)
            << name;
        RegCloseKey(key);
    }

    // Card1, an ISA card at 0x2A0, IRQ 7, with 8 ports from COM13; Card2, a PCI card with 4
    // ports from COM21, its bus and slot, and the base address and IRQ given to it elsewhere.
    void BuildTwoCards() {
        std::string text = FormatText(
            "%s\\Card1\n  ZOVBaseAddress = dword:0x2A0\n  ZOVIrq = dword:7\n"
            "%s\\Card2\n  ZOVPortCount = dword:4\n  ZOVBus = dword:0\n  ZOVSlot = dword:0xE\n"
            "  ZOVBaseAddress = dword:0xE800\n  ZOVIrq = dword:11\n",
            kParameters, kParameters);
        // COM13 to COM20 on Card1's eight ports, then COM21 to COM24 on Card2's four.
        for (int com = 13; com <= 24; ++com) {
            text += FormatText("%s\\Card%d\\Port%d\n  DOSDeviceName = sz:COM%d\n", kParameters,
                               com <= 20 ? 1 : 2, com <= 20 ? com - 12 : com - 20, com);
        }
        Build(text);
    }

    std::string ReadText(const std::string& path) const {
        const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
        return {bytes.begin(), bytes.end()};
    }
    void WriteText(const std::string& path, const std::string& text) const {
        WriteFileBytes(path, Bytes(text));
    }

    std::vector<std::string> questions_;
};

}  // namespace zov::test
