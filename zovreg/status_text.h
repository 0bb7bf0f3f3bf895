// Registry statuses in words for the one-line messages of zovreg.
#pragma once

#include <string>

#include "platform/win32/base.h"

namespace zov::reg {

// "access denied (status 5)", followed by the registry's own explanation when the database
// itself could not be used.
std::string DescribeRegistryStatus(LSTATUS status);

}  // namespace zov::reg
