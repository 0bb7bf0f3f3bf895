// Whether the registry can be used at all, asked once before the utility draws anything.
#pragma once

#include <optional>
#include <string>

#include "platform/win32/registry.h"

namespace zov {

// A refused registry call's status for a message, with the registry's own reason when it gave
// one (it names the database file): "status 5: /var/lib/zovcfg/registry.db: no write ...".
std::string DescribeRefusal(LSTATUS status);

// Nothing when the driver's keys can be read (a registry without them, or without a database
// file yet, reads as empty); otherwise a one-line reason.
std::optional<std::string> CheckRegistryReadable();

}  // namespace zov
