// The first check of an existing database file, made before SQLite reads it: a regular file whose
// header says it is an SQLite database of ours, of a layout version this program knows, in
// rollback-journal mode. A file that fails is refused and never handed to SQLite.
#pragma once

#include <string>

#include "platform/win32/registry.h"

namespace zov {

// *empty_file is set for a file of length zero, which reads as an empty registry.
LSTATUS CheckRegistryHeader(const std::string& path, bool* empty_file);

}  // namespace zov
