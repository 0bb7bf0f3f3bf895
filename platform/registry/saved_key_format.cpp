#include "platform/registry/saved_key_format.h"

#include <cstring>
#include <set>
#include <string>

#include "platform/crc32.h"
#include "platform/registry/key_name.h"

namespace zov {
namespace {

constexpr std::uint8_t kMagic[8] = {'Z', 'O', 'V', 'S', 'K', 'E', 'Y', 0x1a};
constexpr std::size_t kHeaderSize = 8 + 4 + 4 + 8 + 4;
// The smallest records: a value with empty name and data, a key with no name, values, subkeys.
constexpr std::size_t kMinValueRecord = 12;
constexpr std::size_t kMinKeyRecord = 12;

class Writer {
  public:
    explicit Writer(std::vector<std::uint8_t>* out) : out_(out) {}

    void U32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            out_->push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void U64(std::uint64_t value) {
        for (int shift = 0; shift < 64; shift += 8) {
            out_->push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void Bytes(const void* data, std::size_t size) {
        if (size == 0) {
            return;
        }
        const std::size_t end = out_->size();
        out_->resize(end + size);
        std::memcpy(out_->data() + end, data, size);
    }
    void Text(const std::string& text) {
        U32(static_cast<std::uint32_t>(text.size()));
        Bytes(text.data(), text.size());
    }

  private:
    std::vector<std::uint8_t>* out_;
};

void EncodeKey(const KeyTree& tree, Writer* writer) {
    writer->Text(tree.name);
    writer->U32(static_cast<std::uint32_t>(tree.values.size()));
    for (const RegistryValue& value : tree.values) {
        writer->Text(value.name);
        writer->U32(value.type);
        writer->U32(static_cast<std::uint32_t>(value.data.size()));
        writer->Bytes(value.data.data(), value.data.size());
    }
    writer->U32(static_cast<std::uint32_t>(tree.subkeys.size()));
    for (const KeyTree& subkey : tree.subkeys) {
        EncodeKey(subkey, writer);
    }
}

// Reads the payload; every read is checked against what is left.
class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Left() const { return size_ - offset_; }

    bool U32(std::uint32_t* value) {
        if (Left() < 4) {
            return false;
        }
        *value = 0;
        for (int i = 3; i >= 0; --i) {
            *value = (*value << 8) | data_[offset_ + static_cast<std::size_t>(i)];
        }
        offset_ += 4;
        return true;
    }

    bool Text(std::size_t max_length, std::string* text) {
        std::uint32_t length = 0;
        if (!U32(&length) || length > max_length || length > Left()) {
            return false;
        }
        text->assign(reinterpret_cast<const char*>(data_ + offset_), length);
        offset_ += length;
        return true;
    }

    bool Bytes(std::size_t max_length, std::vector<std::uint8_t>* bytes) {
        std::uint32_t length = 0;
        if (!U32(&length) || length > max_length || length > Left()) {
            return false;
        }
        bytes->assign(data_ + offset_, data_ + offset_ + length);
        offset_ += length;
        return true;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

bool DecodeKey(Reader* reader, std::size_t depth, bool top, KeyTree* tree) {
    if (depth > kMaxKeyDepth) {
        return false;
    }
    if (!reader->Text(MaxNameBytes(kMaxKeyNameLength), &tree->name)) {
        return false;
    }
    if (!top && (tree->name.empty() || tree->name.find('\\') != std::string::npos)) {
        return false;
    }
    std::uint32_t value_count = 0;
    if (!reader->U32(&value_count) || value_count > reader->Left() / kMinValueRecord) {
        return false;
    }
    std::set<std::string> seen;
    tree->values.resize(value_count);
    for (RegistryValue& value : tree->values) {
        if (!reader->Text(MaxNameBytes(kMaxValueNameLength), &value.name) ||
            !reader->U32(&value.type) || !reader->Bytes(kMaxValueDataSize, &value.data) ||
            !seen.insert(FoldName(value.name)).second) {
            return false;
        }
    }
    std::uint32_t subkey_count = 0;
    if (!reader->U32(&subkey_count) || subkey_count > reader->Left() / kMinKeyRecord) {
        return false;
    }
    seen.clear();
    tree->subkeys.resize(subkey_count);
    for (KeyTree& subkey : tree->subkeys) {
        if (!DecodeKey(reader, depth + 1, false, &subkey) ||
            !seen.insert(FoldName(subkey.name)).second) {
            return false;
        }
    }
    return true;
}

std::uint64_t LittleEndian(const std::uint8_t* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

}  // namespace

std::vector<std::uint8_t> EncodeSavedKey(const KeyTree& tree) {
    std::vector<std::uint8_t> payload;
    Writer payload_writer(&payload);
    EncodeKey(tree, &payload_writer);

    std::vector<std::uint8_t> file;
    file.reserve(kHeaderSize + payload.size());
    Writer writer(&file);
    writer.Bytes(kMagic, sizeof kMagic);
    writer.U32(kSavedKeyFormatVersion);
    writer.U32(0);
    writer.U64(payload.size());
    writer.U32(Crc32(payload.data(), payload.size()));
    writer.Bytes(payload.data(), payload.size());
    return file;
}

LSTATUS DecodeSavedKey(const std::vector<std::uint8_t>& bytes, KeyTree* tree) {
    *tree = KeyTree{};
    if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        return ERROR_NOT_REGISTRY_FILE;
    }
    if (bytes.size() < kHeaderSize) {
        return ERROR_REGISTRY_CORRUPT;
    }
    const std::uint8_t* header = bytes.data();
    if (LittleEndian(header + 8, 4) != kSavedKeyFormatVersion) {
        return ERROR_NOT_REGISTRY_FILE;
    }
    if (LittleEndian(header + 12, 4) != 0 ||
        LittleEndian(header + 16, 8) != bytes.size() - kHeaderSize) {
        return ERROR_REGISTRY_CORRUPT;
    }
    const std::uint8_t* payload = bytes.data() + kHeaderSize;
    const std::size_t payload_size = bytes.size() - kHeaderSize;
    if (LittleEndian(header + 24, 4) != Crc32(payload, payload_size)) {
        return ERROR_REGISTRY_CORRUPT;
    }
    Reader reader(payload, payload_size);
    KeyTree decoded;
    if (!DecodeKey(&reader, 0, true, &decoded) || reader.Left() != 0) {
        return ERROR_REGISTRY_CORRUPT;
    }
    *tree = std::move(decoded);
    return ERROR_SUCCESS;
}

}  // namespace zov
