// The texts of --help and --version.
#pragma once

#include <string>

#include "zovreg/command_line.h"

namespace zov::reg {

// The overview for Verb::kNone, else the verb's own usage.
std::string HelpText(Verb verb);

std::string VersionText();

}  // namespace zov::reg
