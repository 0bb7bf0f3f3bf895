#include "zovreg/reg_file_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "zovreg/reg_file_reader.h"
#include "zovreg_test_support.h"

namespace zov::reg {
namespace {

using namespace std::string_literals;
using test::AsciiToUtf16Le;

ValueSnapshot Value(const std::string& name, DWORD type, const std::string& data) {
    return ValueSnapshot{name, type, test::Bytes(data)};
}

std::string Write(const KeySnapshot& root, RegFileFormat format) {
    std::string bytes;
    std::string error;
    EXPECT_TRUE(WriteRegFile(root, format, &bytes, &error)) << error;
    return bytes;
}

KeySnapshot SmallTree() {
    KeySnapshot root;
    root.path = "SYSTEM\\Z";
    root.values = {Value("", REG_SZ, "default\0"s), Value("Path \"q\"", REG_SZ, "C:\\x\\\0"s),
                   Value("Irq", REG_DWORD, "\x07\x00\x00\x00"s),
                   Value("Bin", REG_BINARY, "\x01\xAB"s),
                   Value("Multi", REG_MULTI_SZ, "a\0b\0\0"s)};
    root.subkeys.push_back(
        KeySnapshot{"SYSTEM\\Z\\Port1", {Value("DOSDeviceName", REG_SZ, "COM13\0"s)}, {}});
    return root;
}

TEST(RegFileWriterLayout, Regedit4IsEightBitWithCrlfAndOneBlankLineAfterEachKey) {
    EXPECT_EQ(Write(SmallTree(), RegFileFormat::kRegedit4),
              "REGEDIT4\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\Z]\r\n"
              "@=\"default\"\r\n"
              "\"Path \\\"q\\\"\"=\"C:\\\\x\\\\\"\r\n"
              "\"Irq\"=dword:00000007\r\n"
              "\"Bin\"=hex:01,ab\r\n"
              "\"Multi\"=hex(7):61,00,62,00,00\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\Z\\Port1]\r\n"
              "\"DOSDeviceName\"=\"COM13\"\r\n"
              "\r\n");
}

TEST(RegFileWriterLayout, Version5IsUtf16WithBomAndWidensHexText) {
    const std::string bytes = Write(SmallTree(), RegFileFormat::kRegedit5);
    EXPECT_EQ(bytes.rfind("\xFF\xFE" + AsciiToUtf16Le("Windows Registry Editor Version 5.00\r\n"
                                                      "\r\n[HKEY_LOCAL_MACHINE"),
                          0),
              0U);
    EXPECT_NE(bytes.find(AsciiToUtf16Le("\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n")),
              std::string::npos);
}

TEST(RegFileWriterQuoting, EmptyValuesAndStringsThatWouldNotReadBackTheSameGoToHex) {
    KeySnapshot root;
    root.values = {Value("sz", REG_SZ, ""),
                   Value("emptysz", REG_SZ, "\0"s),
                   Value("noterm", REG_SZ, "abc"),
                   Value("inner0", REG_SZ, "a\0b\0"s),
                   Value("newline", REG_SZ, "a\nb\0"s),
                   Value("latin1", REG_SZ, "caf\xE9\0"s),
                   Value("short", REG_DWORD, "\x01\x02"s),
                   Value("none", REG_NONE, "")};
    EXPECT_EQ(Write(root, RegFileFormat::kRegedit4),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n"
              "\"sz\"=hex(1):\r\n"
              "\"emptysz\"=\"\"\r\n"
              "\"noterm\"=hex(1):61,62,63\r\n"
              "\"inner0\"=hex(1):61,00,62,00\r\n"
              "\"newline\"=hex(1):61,0a,62,00\r\n"
              "\"latin1\"=\"caf\xE9\"\r\n"
              "\"short\"=hex(4):01,02\r\n"
              "\"none\"=hex(0):\r\n"
              "\r\n");
    // A UTF-16 file shows only real text as text.
    EXPECT_NE(Write(root, RegFileFormat::kRegedit5)
                  .find(AsciiToUtf16Le("\"latin1\"=hex(1):63,00,61,00,66,00,e9,dc,00,00")),
              std::string::npos);
}

TEST(RegFileWriterWrapping, LongHexDataStaysWithin80ColumnsAndReadsBack) {
    KeySnapshot root;
    root.path = "K";
    std::string data;
    for (int i = 0; i < 300; ++i) {
        data.push_back(static_cast<char>(i));
    }
    root.values = {Value("Binary", REG_BINARY, data),
                   Value(std::string(120, 'n'), REG_BINARY, data.substr(0, 40))};
    const std::string text = Write(root, RegFileFormat::kRegedit4);
    int continued = 0;
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 2) {
        end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = text.substr(start, end - start);
        EXPECT_TRUE(line.size() <= 80 || line.rfind("\"nnn", 0) == 0) << line;
        continued += !line.empty() && line.back() == '\\';
    }
    EXPECT_GT(continued, 10);
    RegFileContents contents;
    RegFileError error;
    ASSERT_TRUE(ReadRegFile(text, &contents, &error)) << error.line << ": " << error.what;
    ASSERT_EQ(contents.operations.size(), 3U);
    EXPECT_EQ(contents.operations[1].data, test::Bytes(data));
    EXPECT_EQ(contents.operations[2].data, test::Bytes(data.substr(0, 40)));
}

TEST(RegFileWriterRefuses, NamesWithLineBreaks) {
    KeySnapshot root{"K", {Value("two\nlines", REG_DWORD, std::string(4, '\0'))}, {}};
    std::string bytes;
    std::string error;
    EXPECT_FALSE(WriteRegFile(root, RegFileFormat::kRegedit4, &bytes, &error));
    EXPECT_NE(error.find("line break"), std::string::npos);
    root = KeySnapshot{"K", {}, {KeySnapshot{"K\\bad\rkey", {}, {}}}};
    EXPECT_FALSE(WriteRegFile(root, RegFileFormat::kRegedit5, &bytes, &error));
    EXPECT_NE(error.find("line break"), std::string::npos);
}

}  // namespace
}  // namespace zov::reg
