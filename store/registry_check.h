// Whether the registry can be used at all, asked once before the utility draws anything.
#pragma once

#include <optional>
#include <string>

namespace zov {

// Nothing when the driver's keys can be read (a registry without them, or without a database
// file yet, reads as empty); otherwise a one-line reason.
std::optional<std::string> CheckRegistryReadable();

}  // namespace zov
