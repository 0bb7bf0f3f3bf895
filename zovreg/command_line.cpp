#include "zovreg/command_line.h"

#include <array>

#include "platform/format.h"
#include "zovreg/key_path.h"

namespace zov::reg {
namespace {

struct VerbEntry {
    Verb verb;
    const char* name;
    std::size_t arguments;  // KEY, or KEY FILE, or FILE
};

constexpr std::array<VerbEntry, 4> kVerbs = {{
    {Verb::kQuery, "query", 1},
    {Verb::kExport, "export", 2},
    {Verb::kImport, "import", 1},
    {Verb::kDelete, "delete", 1},
}};

bool ParseFormat(const std::string& name, RegFileFormat* format) {
    if (name == "regedit5") {
        *format = RegFileFormat::kRegedit5;
        return true;
    }
    if (name == "regedit4") {
        *format = RegFileFormat::kRegedit4;
        return true;
    }
    return false;
}

// One option of the verb at args[*index]; may take the next argument as its value.
bool ParseOption(const std::vector<std::string>& args, std::size_t* index, CommandLine* command,
                 std::string* error) {
    const std::string& option = args[*index];
    const char* verb = VerbName(command->verb);
    if (option == "-h" || option == "--help") {
        command->help = true;
        return true;
    }
    if (command->verb == Verb::kQuery && (option == "-s" || option == "--recursive")) {
        command->recursive = true;
        return true;
    }
    if (command->verb == Verb::kDelete && (option == "-f" || option == "--force")) {
        command->force = true;
        return true;
    }
    const bool uses_files = command->verb == Verb::kExport || command->verb == Verb::kImport;
    if (uses_files && option.rfind("--codepage", 0) == 0) {
        if (option.size() > 11 && option[10] == '=') {
            command->code_page = option.substr(11);
        } else if (option == "--codepage" && *index + 1 < args.size()) {
            command->code_page = args[++*index];
        } else {
            *error = FormatText("%s: --codepage needs a value (such as WINDOWS-1252)", verb);
            return false;
        }
        return true;
    }
    if (command->verb == Verb::kExport && option.rfind("--format", 0) == 0) {
        std::string name;
        if (option.size() > 9 && option[8] == '=') {
            name = option.substr(9);
        } else if (option == "--format" && *index + 1 < args.size()) {
            name = args[++*index];
        } else if (option == "--format") {
            *error = "export: --format needs a value (regedit5 or regedit4)";
            return false;
        } else {
            *error = FormatText("export: unknown option '%s'", option.c_str());
            return false;
        }
        if (!ParseFormat(name, &command->format)) {
            *error =
                FormatText("export: unknown format '%s' (use regedit5 or regedit4)", name.c_str());
            return false;
        }
        return true;
    }
    *error =
        FormatText("%s: unknown option '%s' (see zovreg %s --help)", verb, option.c_str(), verb);
    return false;
}

}  // namespace

const char* VerbName(Verb verb) {
    for (const VerbEntry& entry : kVerbs) {
        if (entry.verb == verb) {
            return entry.name;
        }
    }
    return "";
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* command,
                      std::string* error) {
    *command = CommandLine{};
    if (args.empty()) {
        *error = "missing command (query, export, import or delete; see zovreg --help)";
        return false;
    }
    const std::string& first = args.front();
    if (first == "-h" || first == "--help") {
        command->help = true;
        return true;
    }
    if (first == "--version") {
        command->version = true;
        return true;
    }
    const VerbEntry* entry = nullptr;
    for (const VerbEntry& candidate : kVerbs) {
        if (first == candidate.name) {
            entry = &candidate;
        }
    }
    if (entry == nullptr) {
        *error = FormatText("unknown command '%s' (see zovreg --help)", first.c_str());
        return false;
    }
    command->verb = entry->verb;
    std::vector<std::string> positional;
    bool options_ended = false;
    for (std::size_t index = 1; index < args.size(); ++index) {
        const std::string& arg = args[index];
        if (!options_ended && arg == "--") {
            options_ended = true;
        } else if (!options_ended && arg.size() > 1 && arg[0] == '-') {
            if (!ParseOption(args, &index, command, error)) {
                return false;
            }
        } else {
            positional.push_back(arg);
        }
    }
    if (command->help) {
        return true;
    }
    if (positional.size() != entry->arguments) {
        const char* wanted = entry->verb == Verb::kExport   ? "KEY FILE"
                             : entry->verb == Verb::kImport ? "FILE"
                                                            : "KEY";
        *error =
            FormatText("%s: expected %s, got %zu argument%s (see zovreg %s --help)", entry->name,
                       wanted, positional.size(), positional.size() == 1 ? "" : "s", entry->name);
        return false;
    }
    if (entry->verb == Verb::kImport) {
        command->file = positional[0];
        return true;
    }
    command->key_text = positional[0];
    std::string why;
    if (!ParseRootedKeyPath(command->key_text, &command->key_path, &why)) {
        *error = FormatText("%s: %s: %s", entry->name, command->key_text.c_str(), why.c_str());
        return false;
    }
    if (entry->verb == Verb::kExport) {
        command->file = positional[1];
    }
    return true;
}

}  // namespace zov::reg
