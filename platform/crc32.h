// CRC-32 (IEEE 802.3, as zlib computes it), the checksum of saved-key files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zov {

std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t size);

}  // namespace zov
