// Whether the registry can be used at all, asked once before the utility draws anything.
#pragma once

#include <string>

namespace zov {

// True when the driver's keys can be read (a registry without them, or without a database file
// yet, reads as empty). Otherwise false with a one-line reason.
bool CheckRegistryReadable(std::string& reason);

}  // namespace zov
