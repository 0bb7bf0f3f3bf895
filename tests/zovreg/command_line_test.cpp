#include "zovreg/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zov::reg {
namespace {

CommandLine MustParse(const std::vector<std::string>& args) {
    CommandLine command;
    std::string error;
    EXPECT_TRUE(ParseCommandLine(args, &command, &error)) << error;
    return command;
}

TEST(CommandLineVerbs, EachVerbTakesItsArgumentsAndOptions) {
    const CommandLine query = MustParse({"query", "-s", "HKLM\\SYSTEM\\X"});
    EXPECT_EQ(query.verb, Verb::kQuery);
    EXPECT_TRUE(query.recursive);
    EXPECT_EQ(query.key_path, "SYSTEM\\X");
    const CommandLine exported =
        MustParse({"export", "HKEY_LOCAL_MACHINE\\A\\", "-", "--format=regedit4"});
    EXPECT_EQ(exported.verb, Verb::kExport);
    EXPECT_EQ(exported.key_path, "A");
    EXPECT_EQ(exported.file, "-");
    EXPECT_EQ(exported.format, RegFileFormat::kRegedit4);
    EXPECT_EQ(MustParse({"export", "HKLM", "f"}).format, RegFileFormat::kRegedit5);
    EXPECT_EQ(MustParse({"import", "--", "-odd-name.reg"}).file, "-odd-name.reg");
    EXPECT_TRUE(MustParse({"delete", "HKLM\\A", "--force"}).force);
    EXPECT_TRUE(MustParse({"--version"}).version);
}

TEST(CommandLineUsageErrors, SayWhatIsWrong) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "missing command"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"query"}, "expected KEY, got 0 arguments"},
        {{"import", "a", "b"}, "got 2 arguments"},
        {{"delete", "-s", "HKLM\\X"}, "unknown option '-s'"},
        {{"export", "HKLM", "f", "--format=regedit6"}, "regedit6"},
        {{"export", "HKLM", "f", "--format"}, "needs a value"},
        {{"query", "HKCU\\Software"}, "only HKEY_LOCAL_MACHINE"},
        {{"query", "SYSTEM\\X"}, "unknown root key"},
        {{"query", "HKLM\\a\\\\b"}, "empty key name"},
    };
    for (const auto& [args, message] : cases) {
        CommandLine command;
        std::string error;
        EXPECT_FALSE(ParseCommandLine(args, &command, &error)) << message;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace zov::reg
