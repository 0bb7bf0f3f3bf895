// Feeds arbitrary bytes to the saved-key file decoder: it must accept or refuse them without
// crashing, reading out of bounds or leaking, and whatever it accepts must survive a round trip.
//
// The first input byte picks how the rest is used: odd, the rest is a payload that gets a valid
// header with its checksum, so that mutations reach the record decoder instead of stopping at
// the checksum; even, the rest is the whole file as it is.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/crc32.h"
#include "platform/registry/key_tree.h"
#include "platform/registry/saved_key_format.h"

namespace {

void AppendLittleEndian(std::uint64_t value, int bytes, std::vector<std::uint8_t>* out) {
    for (int i = 0; i < bytes; ++i) {
        out->push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

std::vector<std::uint8_t> WithHeader(const std::uint8_t* payload, std::size_t size) {
    std::vector<std::uint8_t> file = {'Z', 'O', 'V', 'S', 'K', 'E', 'Y', 0x1a};
    AppendLittleEndian(zov::kSavedKeyFormatVersion, 4, &file);
    AppendLittleEndian(0, 4, &file);
    AppendLittleEndian(size, 8, &file);
    AppendLittleEndian(zov::Crc32(payload, size), 4, &file);
    file.insert(file.end(), payload, payload + size);
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool addHeader = (data[0] & 1) != 0;
    const std::vector<std::uint8_t> bytes = addHeader
                                                ? WithHeader(data + 1, size - 1)
                                                : std::vector<std::uint8_t>(data + 1, data + size);
    zov::KeyTree tree;
    const LSTATUS status = zov::DecodeSavedKey(bytes, &tree);
    if (status == ERROR_SUCCESS) {
        // A tree that was read back is one the encoder can write, and it reads back the same.
        zov::KeyTree again;
        if (zov::DecodeSavedKey(zov::EncodeSavedKey(tree), &again) != ERROR_SUCCESS ||
            !(again == tree)) {
            __builtin_trap();
        }
    } else if (status != ERROR_NOT_REGISTRY_FILE && status != ERROR_REGISTRY_CORRUPT) {
        // A refusal is one of the two statuses a caller is told to expect.
        __builtin_trap();
    }
    if (addHeader && status == ERROR_NOT_REGISTRY_FILE) {
        // The header written above is always one of ours.
        __builtin_trap();
    }
    return 0;
}
