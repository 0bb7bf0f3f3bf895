// The first change creates the registry's files with the modes of the trust model, whatever the
// umask: every member of group 0 may change the registry, everybody else may read it.
//   folder  (when this process creates it)  group 0, set-group-id, 2775
//   missing folders above it                 0755
//   database                                 group 0, 0664
// The set-group-id folder gives every rollback journal group 0 too, and SQLite gives a journal
// the database's mode. A creator who may not hand a file to group 0 keeps its own group; the
// files are never writable by others.
#pragma once

#include <string>

#include "platform/win32/registry.h"

namespace zov {

inline constexpr unsigned kRegistryFolderMode = 02775;
inline constexpr unsigned kRegistryFileMode = 0664;

// Creates the folders that are missing and the database file, empty, unless another process has
// created it meanwhile.
LSTATUS CreateRegistryFiles(const std::string& path);

}  // namespace zov
