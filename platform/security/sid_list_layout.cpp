#include "platform/security/sid_list_layout.h"

#include <cstring>
#include <utility>

namespace zov {
namespace {

constexpr std::size_t AlignUp(std::size_t offset, std::size_t alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}

}  // namespace

SidListLayout::SidListLayout(std::size_t array_offset, std::vector<SidEntry> entries)
    : array_offset_(array_offset), entries_(std::move(entries)) {
    std::size_t offset = array_offset_ + entries_.size() * sizeof(SID_AND_ATTRIBUTES);
    for (const SidEntry& entry : entries_) {
        offset = AlignUp(offset, alignof(SID));
        sid_offsets_.push_back(offset);
        offset += entry.sid.size();
    }
    size_ = offset;
}

void SidListLayout::WriteArrayAndSids(BYTE* buffer) const {
    // Field by field with memcpy, so that a buffer without the structure's alignment is written
    // correctly too.
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        BYTE* sid = buffer + sid_offsets_[index];
        std::memcpy(sid, entries_[index].sid.data(), entries_[index].sid.size());
        BYTE* element = buffer + array_offset_ + index * sizeof(SID_AND_ATTRIBUTES);
        std::memset(element, 0, sizeof(SID_AND_ATTRIBUTES));
        const PSID sid_pointer = sid;
        std::memcpy(element + offsetof(SID_AND_ATTRIBUTES, Sid), &sid_pointer, sizeof(PSID));
        const DWORD attributes = entries_[index].attributes;
        std::memcpy(element + offsetof(SID_AND_ATTRIBUTES, Attributes), &attributes, sizeof(DWORD));
    }
}

}  // namespace zov
