#include "store/key_tree.h"

#include "store/registry_key.h"

namespace zov {
namespace {

// Registry key names have at most 255 characters.
constexpr DWORD kKeyNameRoom = 256;
// The registry nests keys at most this deep; a deeper tree is refused rather than followed.
constexpr int kMaxDepth = 512;

LSTATUS DeleteTree(HKEY parent, const std::string& name, int depth) {
    if (depth > kMaxDepth) {
        return ERROR_BADKEY;
    }
    {
        RegistryKey key;
        LSTATUS status = key.Open(parent, name, KEY_ALL_ACCESS);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        // Deleting the first subkey shifts the next one to index 0.
        for (;;) {
            std::string child(kKeyNameRoom, '\0');
            DWORD size = kKeyNameRoom;
            status = RegEnumKeyExA(key.Get(), 0, child.data(), &size, nullptr, nullptr, nullptr,
                                   nullptr);
            if (status == ERROR_NO_MORE_ITEMS) {
                break;
            }
            if (status != ERROR_SUCCESS) {
                return status;
            }
            child.resize(size);
            status = DeleteTree(key.Get(), child, depth + 1);
            if (status != ERROR_SUCCESS) {
                return status;
            }
        }
    }
    return RegDeleteKeyA(parent, name.c_str());
}

}  // namespace

LSTATUS DeleteKeyTree(HKEY parent, const std::string& name) {
    return DeleteTree(parent, name, 0);
}

}  // namespace zov
