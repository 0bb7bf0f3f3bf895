// Where the registry database file is, as the registry reports it.
#pragma once

#include <string>

namespace zov {

std::string RegistryFilePath();
// Its directory ("." for a bare file name).
std::string RegistryFileDirectory();

}  // namespace zov
