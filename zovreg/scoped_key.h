// An open registry key that is closed when the scope ends.
#pragma once

#include <utility>

#include "platform/win32/registry.h"

namespace zov::reg {

class ScopedKey {
  public:
    ScopedKey() = default;
    ~ScopedKey() { Reset(); }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    ScopedKey(ScopedKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    ScopedKey& operator=(ScopedKey&& other) noexcept {
        if (this != &other) {
            Reset();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }

    HKEY Get() const { return key_; }
    // For the Win32 calls that open a key: closes the one held and hands out the slot.
    PHKEY Receive() {
        Reset();
        return &key_;
    }
    void Reset() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
            key_ = nullptr;
        }
    }

  private:
    HKEY key_ = nullptr;
};

}  // namespace zov::reg
