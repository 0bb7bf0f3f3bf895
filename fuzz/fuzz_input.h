// Reads a fuzz input as a stream of choices. When the input runs out every choice reads as zero,
// so a short input still describes a complete (small) case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zov::fuzz {

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return offset_ < size_ ? data_[offset_++] : 0; }

    bool Flag() { return (Byte() & 1) != 0; }

    // A number from 0 to limit - 1 (0 when limit is 0).
    std::size_t Below(std::size_t limit) {
        if (limit == 0) {
            return 0;
        }
        const std::size_t wide = static_cast<std::size_t>(Byte()) << 8 | Byte();
        return wide % limit;
    }

    std::uint32_t Word() {
        std::uint32_t word = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            word |= static_cast<std::uint32_t>(Byte()) << shift;
        }
        return word;
    }

    std::vector<std::uint8_t> Bytes(std::size_t count) {
        std::vector<std::uint8_t> bytes;
        bytes.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            bytes.push_back(Byte());
        }
        return bytes;
    }

    // Text of the given length without zero bytes (they would end a C string early).
    std::string Text(std::size_t length) {
        std::string text;
        text.reserve(length);
        for (std::size_t i = 0; i < length; ++i) {
            const std::uint8_t byte = Byte();
            text.push_back(static_cast<char>(byte == 0 ? '0' : byte));
        }
        return text;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

}  // namespace zov::fuzz
