// The command line of zovreg: a verb, its arguments and its options, Linux style.
#pragma once

#include <string>
#include <vector>

#include "zovreg/code_page.h"
#include "zovreg/reg_file_format.h"

namespace zov::reg {

enum class Verb { kNone, kQuery, kExport, kImport, kDelete };

struct CommandLine {
    Verb verb = Verb::kNone;
    bool help = false;       // --help, alone or after a verb
    bool version = false;    // --version
    std::string key_path;    // KEY below HKEY_LOCAL_MACHINE, already checked
    std::string key_text;    // KEY as given
    std::string file;        // FILE of export and import; "-" for the standard streams
    bool recursive = false;  // query -s
    bool force = false;      // delete -f
    RegFileFormat format = RegFileFormat::kRegedit5;
    std::string code_page = kDefaultCodePage;  // of REGEDIT4 files, --codepage
};

// Parses the arguments after the program name. False with *error, a one-line reason without the
// "zovreg: " prefix, for a usage error.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* command,
                      std::string* error);

// The verb's name as typed ("query"), "" for kNone.
const char* VerbName(Verb verb);

}  // namespace zov::reg
