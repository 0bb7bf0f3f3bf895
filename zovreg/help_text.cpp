#include "zovreg/help_text.h"

namespace zov::reg {

std::string HelpText(Verb verb) {
    switch (verb) {
        case Verb::kQuery:
            return "Usage: zovreg query KEY [-s|--recursive]\n"
                   "Prints the values of KEY and the names of its subkeys;\n"
                   "with -s, every key below KEY with its values.\n";
        case Verb::kExport:
            return "Usage: zovreg export KEY FILE [--format=regedit5|regedit4] [--codepage=NAME]\n"
                   "Writes KEY and everything below it to the .reg file FILE ('-' for standard\n"
                   "output). regedit5 (the default) is UTF-16LE with a byte-order mark,\n"
                   "regedit4 is 8-bit text in the code page NAME (WINDOWS-1252 by default);\n"
                   "both have CRLF line ends. FILE is replaced through a temporary file in its\n"
                   "directory and keeps its mode.\n";
        case Verb::kImport:
            return "Usage: zovreg import FILE [--codepage=NAME]\n"
                   "Applies the .reg file FILE ('-' for standard input), in either format, in\n"
                   "one transaction: everything or, if anything is wrong, nothing. A REGEDIT4\n"
                   "file is read in the code page NAME (WINDOWS-1252 by default) unless it\n"
                   "starts with a UTF-8 byte-order mark.\n";
        case Verb::kDelete:
            return "Usage: zovreg delete KEY [-f|--force]\n"
                   "Deletes KEY with everything below it, after asking on the terminal\n"
                   "unless -f is given.\n";
        case Verb::kNone:
            break;
    }
    return "Usage: zovreg COMMAND [ARGUMENTS]\n"
           "Reads and changes the registry of the ZOV serial adapter driver.\n"
           "\n"
           "Commands:\n"
           "  query KEY [-s|--recursive]        print a key's values (-s: its whole subtree)\n"
           "  export KEY FILE [--format=regedit5|regedit4]\n"
           "                                    write a key with its subtree to a .reg file\n"
           "  import FILE                       apply a .reg file, all or nothing\n"
           "  (export and import: --codepage=NAME, the code page of REGEDIT4 files)\n"
           "  delete KEY [-f|--force]           delete a key with its subtree\n"
           "\n"
           "KEY is written as in regedit: HKEY_LOCAL_MACHINE\\SYSTEM\\... or HKLM\\SYSTEM\\...\n"
           "The registry database is $ZOVCFG_REGISTRY, or /var/lib/zovcfg/registry.db.\n"
           "\n"
           "Options: --help (also after a command), --version.\n"
           "Exit status: 0 done, 1 failed (the reason on standard error), 2 usage error.\n";
}

std::string VersionText() {
    return std::string("zovreg ") + ZOVREG_VERSION + "\n";
}

}  // namespace zov::reg
