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

std::string MustRefuse(const std::vector<std::string>& args) {
    CommandLine command;
    std::string error;
    EXPECT_FALSE(ParseCommandLine(args, &command, &error));
    return error;
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
    EXPECT_EQ(MustParse({"export", "HKLM", "f", "--format", "regedit5"}).format,
              RegFileFormat::kRegedit5);
    EXPECT_EQ(MustParse({"export", "HKLM", "f"}).format, RegFileFormat::kRegedit5);

    EXPECT_EQ(MustParse({"import", "--", "-odd-name.reg"}).file, "-odd-name.reg");
    const CommandLine deleted = MustParse({"delete", "HKLM\\A", "--force"});
    EXPECT_TRUE(deleted.force);
    EXPECT_EQ(deleted.key_text, "HKLM\\A");
}

TEST(CommandLineVerbs, HelpAndVersionNeedNoArguments) {
    EXPECT_TRUE(MustParse({"--help"}).help);
    EXPECT_TRUE(MustParse({"-h"}).help);
    EXPECT_TRUE(MustParse({"--version"}).version);
    const CommandLine verb_help = MustParse({"export", "--help"});
    EXPECT_TRUE(verb_help.help);
    EXPECT_EQ(verb_help.verb, Verb::kExport);
}

TEST(CommandLineUsageErrors, SayWhatIsWrong) {
    EXPECT_NE(MustRefuse({}).find("missing command"), std::string::npos);
    EXPECT_NE(MustRefuse({"frobnicate"}).find("unknown command 'frobnicate'"), std::string::npos);
    EXPECT_NE(MustRefuse({"query"}).find("expected KEY, got 0 arguments"), std::string::npos);
    EXPECT_NE(MustRefuse({"export", "HKLM"}).find("expected KEY FILE"), std::string::npos);
    EXPECT_NE(MustRefuse({"import", "a", "b"}).find("got 2 arguments"), std::string::npos);
    EXPECT_NE(MustRefuse({"query", "-f", "HKLM"}).find("unknown option '-f'"), std::string::npos);
    EXPECT_NE(MustRefuse({"delete", "-s", "HKLM\\X"}).find("unknown option '-s'"),
              std::string::npos);
    EXPECT_NE(MustRefuse({"export", "HKLM", "f", "--format=regedit6"}).find("regedit6"),
              std::string::npos);
    EXPECT_NE(MustRefuse({"export", "HKLM", "f", "--format"}).find("needs a value"),
              std::string::npos);
    EXPECT_NE(MustRefuse({"query", "HKCU\\Software"}).find("only HKEY_LOCAL_MACHINE"),
              std::string::npos);
    EXPECT_NE(MustRefuse({"query", "SYSTEM\\X"}).find("unknown root key"), std::string::npos);
    EXPECT_NE(MustRefuse({"query", "HKLM\\a\\\\b"}).find("empty key name"), std::string::npos);
}

}  // namespace
}  // namespace zov::reg
