// The saved-key file format: one key with its values and whole subtree.
//
//   header:  8 bytes magic "ZOVSKEY\x1a", u32 version (1), u32 flags (0), u64 payload size,
//            u32 CRC-32 of the payload (all little-endian)
//   payload: the top key record:
//            u32 name length, name; u32 value count, values; u32 subkey count, subkey records
//            value: u32 name length, name, u32 type, u32 data length, data
//
// Decoding checks everything before it gives a tree: magic, version, sizes, checksum, every
// length against what is left, names, duplicates, depth; a hostile file cannot make it allocate
// more than the file's own size or recurse deeper than a registry may be.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/registry/key_tree.h"
#include "platform/win32/base.h"

namespace zov {

// Largest saved-key file that is read (and written).
inline constexpr std::size_t kMaxSavedKeyFileSize = std::size_t{256} << 20;
// Largest value data that a saved-key file (and RegSetValueExA) accepts.
inline constexpr std::size_t kMaxValueDataSize = std::size_t{16} << 20;
inline constexpr std::uint32_t kSavedKeyFormatVersion = 1;

std::vector<std::uint8_t> EncodeSavedKey(const KeyTree& tree);

// ERROR_NOT_REGISTRY_FILE for a file that is not a saved key of ours (wrong magic or unknown
// version), ERROR_REGISTRY_CORRUPT for one that is damaged.
LSTATUS DecodeSavedKey(const std::vector<std::uint8_t>& bytes, KeyTree* tree);

}  // namespace zov
