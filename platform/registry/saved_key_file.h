// Reading and writing saved-key files on disk: created exclusively and owner-only, never through
// a symbolic link; read whole, bounded in size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/base.h"

namespace zov {

enum class SavedKeyDurability {
    kSynced,  // file and directory are on disk before success is reported: a backup
    kCached,  // left to the page cache: a file read back and deleted within one transaction
};

// Creates path (O_EXCL, O_NOFOLLOW, mode 0600) and writes bytes. An existing path of any kind, a
// dangling link included, gives ERROR_ALREADY_EXISTS and stays as it was; after any other failure
// no file is left behind.
LSTATUS WriteSavedKeyFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                          SavedKeyDurability durability);

// The file stays open until it is read back: a save and its restore (a card moved down) must be
// one and the same file, even where others may write the folder.

// Reads a whole regular file that is no larger than kMaxSavedKeyFileSize; a symbolic link is not
// followed. ERROR_FILE_NOT_FOUND for a missing file. A path that this process saved to last
// reads back, once, exactly the bytes it wrote there, through the descriptor that wrote them:
// ERROR_REGISTRY_CORRUPT when the path no longer names that file alone (renamed over, linked,
// changed), ERROR_FILE_NOT_FOUND when that save failed. Other paths are read as they are.
LSTATUS ReadSavedKeyFile(const std::string& path, std::vector<std::uint8_t>* bytes);

}  // namespace zov
