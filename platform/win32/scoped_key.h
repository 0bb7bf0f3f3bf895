// An open registry key that closes itself when its owner ends, so that every key is closed
// exactly once on every path. Move-only: a key has one owner.
#pragma once

#include <string>
#include <utility>

#include "platform/win32/registry.h"

namespace zov {

class ScopedKey {
  public:
    ScopedKey() = default;
    ~ScopedKey() { Close(); }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    ScopedKey(ScopedKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    ScopedKey& operator=(ScopedKey&& other) noexcept {
        if (this != &other) {
            Close();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }

    // RegOpenKeyExA of path under parent; the key is held when the status is ERROR_SUCCESS.
    LSTATUS Open(HKEY parent, const std::string& path, REGSAM access) {
        return RegOpenKeyExA(parent, path.c_str(), 0, access, Receive());
    }
    // RegCreateKeyExA of path under parent: non-volatile, empty class, full access, default
    // security; `disposition` tells whether the key was created or already there.
    LSTATUS Create(HKEY parent, const std::string& path, DWORD* disposition = nullptr) {
        return RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, Receive(), disposition);
    }
    // For the other Win32 calls that open a key: closes the key held and hands out the slot.
    PHKEY Receive() {
        Close();
        return &key_;
    }

    HKEY Get() const { return key_; }

    // Closes the key now: the status of RegCloseKey, or ERROR_SUCCESS when none was held.
    LSTATUS Close() {
        if (key_ == nullptr) {
            return ERROR_SUCCESS;
        }
        const LSTATUS status = RegCloseKey(key_);
        key_ = nullptr;
        return status;
    }

  private:
    HKEY key_ = nullptr;
};

}  // namespace zov
