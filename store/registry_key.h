// An open registry key that closes itself, so that every key a step opens is closed exactly once
// on every path.
#pragma once

#include <string>

#include "platform/win32/registry.h"

namespace zov {

class RegistryKey {
  public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // RegOpenKeyExA of path under parent; the key is open when the status is ERROR_SUCCESS.
    LSTATUS Open(HKEY parent, const std::string& path, REGSAM access) {
        Close();
        return RegOpenKeyExA(parent, path.c_str(), 0, access, &key_);
    }
    // RegCreateKeyExA of path under parent: non-volatile, empty class, full access, default
    // security; `disposition` tells whether the key was created or already there.
    LSTATUS Create(HKEY parent, const std::string& path, DWORD* disposition = nullptr) {
        Close();
        return RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &key_, disposition);
    }
    // Closes the key now; the status of RegCloseKey, or ERROR_SUCCESS when none was open.
    LSTATUS Close() {
        if (key_ == nullptr) {
            return ERROR_SUCCESS;
        }
        const LSTATUS status = RegCloseKey(key_);
        key_ = nullptr;
        return status;
    }

    bool IsOpen() const { return key_ != nullptr; }
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

}  // namespace zov
