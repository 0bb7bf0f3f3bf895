#include "zovreg_test_support.h"

#include <sstream>

#include "platform/format.h"
#include "zovreg/zovreg_tool.h"

namespace zov::test {

ToolRun ZovregTest::Run(const std::vector<std::string>& args, const std::string& input,
                        std::optional<bool> answer) {
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

void ZovregTest::SetValue(const std::string& path, const std::string& name, DWORD type,
                          const std::vector<std::uint8_t>& data) {
    HKEY key = nullptr;
    ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, path.c_str(), &key), ERROR_SUCCESS) << path;
    EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS)
        << name;
    RegCloseKey(key);
}

void ZovregTest::BuildTwoCards() {
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

std::string ZovregTest::ReadText(const std::string& path) const {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

void ZovregTest::WriteText(const std::string& path, const std::string& text) const {
    WriteFileBytes(path, Bytes(text));
}

std::string AsciiToUtf16Le(const std::string& text) {
    std::string bytes;
    for (const char c : text) {
        EXPECT_GE(c, 0) << "not ASCII";
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

}  // namespace zov::test
