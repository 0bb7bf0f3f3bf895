// Key names as regedit writes them: "HKEY_LOCAL_MACHINE\SYSTEM\..." or "HKLM\SYSTEM\...".
#pragma once

#include <string>
#include <string_view>

namespace zov::reg {

inline constexpr const char* kLocalMachineName = "HKEY_LOCAL_MACHINE";

// Splits off the root and checks the rest: *subpath is the path below HKEY_LOCAL_MACHINE ("" for
// the root itself, without a trailing backslash). On failure *error says why, in a few words.
bool ParseRootedKeyPath(std::string_view text, std::string* subpath, std::string* error);

// "HKEY_LOCAL_MACHINE" or "HKEY_LOCAL_MACHINE\subpath".
std::string FullKeyName(const std::string& subpath);

// subpath\name; name for the root, subpath for an empty name.
std::string JoinKeyPath(const std::string& subpath, const std::string& name);

}  // namespace zov::reg
