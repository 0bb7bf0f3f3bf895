// export -> wipe -> import -> export must give the same bytes, and the same registry.
#include <gtest/gtest.h>

#include <string>

#include "platform/format.h"
#include "zovreg_test_support.h"

namespace zov::test {
namespace {

using namespace std::string_literals;

class RoundTripTest : public ZovregTest, public ::testing::WithParamInterface<const char*> {
  protected:
    // Everything that a .reg file has to carry, around the driver's two kinds of cards.
    void BuildAwkwardRegistry() {
        BuildTwoCards();
        const std::string odd = std::string(kParameters) + "\\Odd";
        SetValue(odd, "", REG_SZ, Bytes("the default\0"s));
        SetValue(odd, "EmptySz", REG_SZ, {});
        SetValue(odd, "EmptyText", REG_SZ, {0});
        SetValue(odd, "EmptyBinary", REG_BINARY, {});
        SetValue(odd, "Quotes \"and\" \\backslashes\\", REG_SZ,
                 Bytes("say \"hi\" to C:\\dir\\\0"s));
        SetValue(odd, "@", REG_SZ, Bytes("not the default\0"s));
        SetValue(odd, "a=b", REG_DWORD, {1, 2, 3, 4});
        SetValue(odd, std::string(16383, 'L'), REG_SZ, Bytes("long name\0"s));
        std::string binary(1000, '\0');
        for (std::size_t i = 0; i < binary.size(); ++i) {
            binary[i] = static_cast<char>(i * 7);
        }
        SetValue(odd, "Binary", REG_BINARY, Bytes(binary));
        SetValue(odd, "Expand", REG_EXPAND_SZ, Bytes("%SystemRoot%\\x\0"s));
        SetValue(odd, "Multi", REG_MULTI_SZ, Bytes("COM1\0COM2\0\0"s));
        SetValue(odd, "OddType", 0x12345, {9, 8, 7});
        // Text without its terminating zero is left out: the editor adds one when it reads
        // hex(1) data, so that value comes back one byte longer (see reg_dialect_test.cpp).
        SetValue(odd, "Newline", REG_SZ, Bytes("two\r\nlines\0"s));
        SetValue(odd, "Utf8 caf\xC3\xA9", REG_SZ, Bytes("\xE2\x82\xAC \xF0\x9F\x98\x80\0"s));
        SetValue(odd, "Latin1", REG_SZ, Bytes("caf\xE9\0"s));
        // Names that differ only in case from other names keep their own spelling.
        SetValue(odd, "MixedCase", REG_DWORD, {1, 0, 0, 0});
        SetValue(odd + "\\mixedcase", "MIXEDCASE", REG_DWORD, {2, 0, 0, 0});
        SetValue(odd + "\\MIXEDCASE\\MixedCase", "mixedcase", REG_DWORD, {3, 0, 0, 0});
        SetValue(odd + "\\" + std::string(255, 'K'), "x", REG_DWORD, {4, 0, 0, 0});
        SetValue(odd + "\\brackets]and [spaces ", "", REG_SZ, {0});
        Build(odd + "\\Empty\\Deeper\\Deepest\n");
    }

    ToolRun Export(const std::string& key, const std::string& file) {
        return Run({"export", key, file, std::string("--format=") + GetParam()});
    }
};

// The second export names the key in another case: it must give the same bytes all the same.
TEST_P(RoundTripTest, ExportWipeImportExportGivesIdenticalFilesAndRegistry) {
    BuildAwkwardRegistry();
    const std::string before = Dump("SYSTEM");
    ASSERT_EQ(Export("HKLM\\SYSTEM", PathInDir("first.reg")).status, 0);

    ASSERT_EQ(Run({"delete", "HKLM\\SYSTEM", "--force"}).status, 0);
    ASSERT_NE(Dump("SYSTEM").find("cannot open"), std::string::npos);

    const ToolRun import = Run({"import", PathInDir("first.reg")});
    ASSERT_EQ(import.status, 0) << import.err;
    EXPECT_EQ(Dump("SYSTEM"), before);
    ASSERT_EQ(Export("hklm\\system", PathInDir("second.reg")).status, 0);
    const std::string first = ReadText(PathInDir("first.reg"));
    EXPECT_EQ(first, ReadText(PathInDir("second.reg")));
    EXPECT_GT(first.size(), 16383U);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, RoundTripTest, ::testing::Values("regedit5", "regedit4"));

}  // namespace
}  // namespace zov::test
