#include "zovreg/key_path.h"

#include <array>

#include "platform/format.h"
#include "platform/registry/key_name.h"

namespace zov::reg {
namespace {

bool IsKnownOtherRoot(std::string_view root) {
    static constexpr std::array<const char*, 10> kOtherRoots = {
        "HKEY_CLASSES_ROOT",   "HKCR",
        "HKEY_CURRENT_USER",   "HKCU",
        "HKEY_USERS",          "HKU",
        "HKEY_CURRENT_CONFIG", "HKCC",
        "HKEY_DYN_DATA",       "HKEY_PERFORMANCE_DATA"};
    for (const char* other : kOtherRoots) {
        if (SameName(root, other)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool ParseRootedKeyPath(std::string_view text, std::string* subpath, std::string* error) {
    subpath->clear();
    const std::size_t separator = text.find('\\');
    const std::string_view root = text.substr(0, separator);
    if (!SameName(root, kLocalMachineName) && !SameName(root, "HKLM")) {
        const std::string shown(root);
        *error = IsKnownOtherRoot(root)
                     ? FormatText("only HKEY_LOCAL_MACHINE is supported, not %s", shown.c_str())
                     : FormatText("unknown root key '%s' (use HKEY_LOCAL_MACHINE or HKLM)",
                                  shown.c_str());
        return false;
    }
    if (separator == std::string_view::npos) {
        return true;
    }
    std::string_view rest = text.substr(separator + 1);
    if (!rest.empty() && rest.back() == '\\') {
        rest.remove_suffix(1);
    }
    if (rest.empty()) {
        return true;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t end = rest.find('\\', start);
        const std::size_t stop = end == std::string_view::npos ? rest.size() : end;
        const std::size_t length = stop - start;
        if (length == 0) {
            *error = "empty key name in the path (two backslashes in a row)";
            return false;
        }
        if (rest.substr(start, length).find('\0') != std::string_view::npos) {
            *error = "NUL character in a key name";
            return false;
        }
        if (NameLength(rest.substr(start, length)) > kMaxKeyNameLength) {
            *error = FormatText("key name longer than %zu characters", kMaxKeyNameLength);
            return false;
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    subpath->assign(rest);
    return true;
}

std::string FullKeyName(const std::string& subpath) {
    return subpath.empty() ? std::string(kLocalMachineName)
                           : std::string(kLocalMachineName) + "\\" + subpath;
}

std::string JoinKeyPath(const std::string& subpath, const std::string& name) {
    if (name.empty()) {
        return subpath;
    }
    return subpath.empty() ? name : subpath + "\\" + name;
}

}  // namespace zov::reg
