#include "zovreg/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "platform/format.h"
#include "zovreg/key_path.h"

namespace zov::reg {
namespace {

struct VerbEntry {
    Verb verb;
    const char* name;
    const char* arguments;  // as the usage line names them
    std::size_t argumentCount;
};

constexpr VerbEntry kVerbs[] = {
    {Verb::kQuery, "query", "KEY", 1},
    {Verb::kExport, "export", "KEY FILE", 2},
    {Verb::kImport, "import", "FILE", 1},
    {Verb::kDelete, "delete", "KEY", 1},
};

const VerbEntry* FindVerb(Verb verb) {
    const auto* found = std::find_if(std::begin(kVerbs), std::end(kVerbs),
                                     [verb](const VerbEntry& entry) { return entry.verb == verb; });
    return found == std::end(kVerbs) ? nullptr : found;
}

// CLI11 parses; the help texts are zovreg's own (help_text.cpp), so its help flags are replaced
// by plain ones, and arguments it does not know are kept to be refused below with their name.
CLI::App* AddVerb(CLI::App& app, const VerbEntry& entry, CommandLine* command,
                  std::vector<std::string>* positional) {
    CLI::App* verb = app.add_subcommand(entry.name);
    verb->set_help_flag();
    verb->add_flag("-h,--help", command->help);
    verb->add_option("arguments", *positional);
    verb->allow_extras();
    // Before its arguments, so that their errors can name the verb.
    verb->preparse_callback([command, &entry](std::size_t) { command->verb = entry.verb; });
    return verb;
}

// The options only some verbs take.
void AddVerbOptions(CLI::App& verb, Verb which, CommandLine* command, std::string* format) {
    if (which == Verb::kQuery) {
        verb.add_flag("-s,--recursive", command->recursive);
    }
    if (which == Verb::kDelete) {
        verb.add_flag("-f,--force", command->force);
    }
    if (which == Verb::kExport) {
        verb.add_option("--format", *format)->check(CLI::IsMember({"regedit5", "regedit4"}));
    }
    if (which == Verb::kExport || which == Verb::kImport) {
        verb.add_option("--codepage", command->code_page);
    }
}

// Where the arguments were read: the verb's own count, and KEY checked.
bool TakePositional(const VerbEntry& entry, const std::vector<std::string>& positional,
                    CommandLine* command, std::string* error) {
    if (positional.size() != entry.argumentCount) {
        *error = FormatText("%s: expected %s, got %zu argument%s (see zovreg %s --help)",
                            entry.name, entry.arguments, positional.size(),
                            positional.size() == 1 ? "" : "s", entry.name);
        return false;
    }
    if (entry.verb == Verb::kImport) {
        command->file = positional[0];
        return true;
    }
    command->key_text = positional[0];
    std::string why;
    if (!ParseRootedKeyPath(command->key_text, &command->key_path, &why)) {
        *error = FormatText("%s: %s: %s", entry.name, command->key_text.c_str(), why.c_str());
        return false;
    }
    if (entry.verb == Verb::kExport) {
        command->file = positional[1];
    }
    return true;
}

}  // namespace

const char* VerbName(Verb verb) {
    const VerbEntry* entry = FindVerb(verb);
    return entry == nullptr ? "" : entry->name;
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* command,
                      std::string* error) {
    *command = CommandLine{};
    if (args.empty()) {
        *error = "missing command (query, export, import or delete; see zovreg --help)";
        return false;
    }
    CLI::App app("", "zovreg");
    app.set_help_flag();
    app.add_flag("-h,--help", command->help);
    app.add_flag("--version", command->version);
    app.require_subcommand(0, 1);
    app.allow_extras();
    std::vector<std::string> positional;
    std::string format = "regedit5";
    for (const VerbEntry& entry : kVerbs) {
        AddVerbOptions(*AddVerb(app, entry, command, &positional), entry.verb, command, &format);
    }

    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const char* verb = VerbName(command->verb);
        *error = *verb == '\0' ? std::string(e.what()) : FormatText("%s: %s", verb, e.what());
        return false;
    }
    const VerbEntry* entry = FindVerb(command->verb);
    // CLI11 keeps the "--" that ended the options among what it did not take; it is no option.
    std::vector<std::string> unknown = app.remaining(true);
    std::erase(unknown, std::string("--"));
    if (entry == nullptr) {
        if (unknown.empty() && (command->help || command->version)) {
            return true;
        }
        const std::string& first = unknown.empty() ? args.front() : unknown.front();
        *error = FormatText(first[0] == '-' ? "unknown option '%s' (see zovreg --help)"
                                            : "unknown command '%s' (see zovreg --help)",
                            first.c_str());
        return false;
    }
    if (!unknown.empty()) {
        *error = FormatText("%s: unknown option '%s' (see zovreg %s --help)", entry->name,
                            unknown.front().c_str(), entry->name);
        return false;
    }
    if (command->help) {
        return true;
    }
    command->format = format == "regedit4" ? RegFileFormat::kRegedit4 : RegFileFormat::kRegedit5;
    return TakePositional(*entry, positional, command, error);
}

}  // namespace zov::reg
