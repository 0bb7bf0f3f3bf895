#include "platform/terminal/terminfo_probe.h"

// term.h defines many lower-case macros (lines, columns, tab, key_*...): names below avoid them.
#include <curses.h>
#include <term.h>
#include <unistd.h>

#include "platform/format.h"

namespace zov {

namespace {

// Expands a capability the way it is sent, padding included, into a string.
std::string* g_expansion = nullptr;
int AppendToExpansion(int ch) {
    g_expansion->push_back(static_cast<char>(ch));
    return ch;
}
std::string Expand(const std::string& capability) {
    std::string expanded;
    if (!capability.empty()) {
        g_expansion = &expanded;
        tputs(capability.c_str(), 1, AppendToExpansion);
        g_expansion = nullptr;
    }
    return expanded;
}

}  // namespace

std::string TerminfoString(const char* name) {
    char* value = tigetstr(name);
    // ncurses answers (char*)-1 for a name that is not a string capability.
    if (value == nullptr ||
        value == reinterpret_cast<char*>(-1)) {  // NOLINT(performance-no-int-to-ptr)
        return {};
    }
    return value;
}

int TerminfoNumber(const char* name) {
    const int value = tigetnum(name);
    return value >= 0 ? value : -1;
}

std::string MouseSwitchBytes(bool on) {
    const std::string mouse_switch = TerminfoString("XM");
    if (!mouse_switch.empty()) {
        return Expand(tiparm(mouse_switch.c_str(), on ? 1 : 0));
    }
    if (!TerminfoString("kmous").empty()) {
        return on ? "\x1b[?1006;1000h" : "\x1b[?1006;1000l";
    }
    return {};
}

std::string RestoreBytes() {
    std::string bytes = "\x18" + MouseSwitchBytes(false);
    for (const char* name : {"sgr0", "cnorm", "rmkx", "rmcup"}) {
        bytes += Expand(TerminfoString(name));
    }
    return bytes;
}

std::string AcsLetters() {
    const std::string pairs = TerminfoString("acsc");
    std::string letters;
    for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
        letters.push_back(pairs[i]);
    }
    return letters;
}

bool CheckTerminalType(const std::string& type, std::string& error, std::string& restore_bytes) {
    int status = 0;
    if (setupterm(type.c_str(), STDOUT_FILENO, &status) != OK) {
        error = status == -1 ? FormatText("no terminal description database for '%s'", type.c_str())
                             : FormatText("unknown terminal type '%s'", type.c_str());
        return false;
    }
    const bool addressable = !TerminfoString("cup").empty() && !TerminfoString("clear").empty();
    restore_bytes = RestoreBytes();
    del_curterm(cur_term);
    if (!addressable) {
        error = FormatText("terminal type '%s' cannot position the cursor", type.c_str());
        return false;
    }
    return true;
}

}  // namespace zov
