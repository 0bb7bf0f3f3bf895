// Lays out a token information structure that is a header, an array of SID_AND_ATTRIBUTES and
// the SIDs they point to, all inside the caller's buffer, as Windows does for TOKEN_GROUPS and
// TOKEN_USER.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/win32/security.h"

namespace zov {

struct SidEntry {
    std::vector<BYTE> sid;
    DWORD attributes = 0;
};

class SidListLayout {
  public:
    // array_offset: where the SID_AND_ATTRIBUTES array starts in the structure.
    SidListLayout(std::size_t array_offset, std::vector<SidEntry> entries);

    // The bytes the whole structure needs, SIDs included.
    std::size_t Size() const { return size_; }

    // Writes the array and the SIDs into buffer, which holds at least Size() bytes; the header
    // before the array is the caller's to write. The pointers in the array point into buffer.
    void WriteArrayAndSids(BYTE* buffer) const;

  private:
    std::size_t array_offset_;
    std::vector<SidEntry> entries_;
    std::vector<std::size_t> sid_offsets_;
    std::size_t size_ = 0;
};

}  // namespace zov
