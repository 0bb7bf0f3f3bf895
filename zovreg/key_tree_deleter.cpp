#include "zovreg/key_tree_deleter.h"

#include "zovreg/scoped_key.h"

namespace zov::reg {
namespace {

constexpr DWORD kKeyNameBuffer = 256;

// Empties the key of its subkeys, always deleting the first one until none is left, so that
// the enumeration never skips a key.
LSTATUS DeleteSubkeys(HKEY key) {
    while (true) {
        std::string name(kKeyNameBuffer, '\0');
        DWORD size = kKeyNameBuffer;
        LSTATUS status =
            RegEnumKeyExA(key, 0, name.data(), &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            return ERROR_SUCCESS;
        }
        if (status != ERROR_SUCCESS) {
            return status;
        }
        name.resize(size);
        ScopedKey child;
        status = RegOpenKeyExA(key, name.c_str(), 0, KEY_ALL_ACCESS, child.Receive());
        if (status == ERROR_SUCCESS) {
            status = DeleteSubkeys(child.Get());
        }
        child.Reset();
        if (status == ERROR_SUCCESS) {
            status = RegDeleteKeyA(key, name.c_str());
        }
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
}

}  // namespace

LSTATUS DeleteKeyTree(const std::string& subpath) {
    if (subpath.empty()) {
        return ERROR_ACCESS_DENIED;  // HKEY_LOCAL_MACHINE itself is never deleted
    }
    ScopedKey key;
    LSTATUS status =
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, subpath.c_str(), 0, KEY_ALL_ACCESS, key.Receive());
    if (status == ERROR_SUCCESS) {
        status = DeleteSubkeys(key.Get());
    }
    key.Reset();
    if (status == ERROR_SUCCESS) {
        status = RegDeleteKeyA(HKEY_LOCAL_MACHINE, subpath.c_str());
    }
    return status;
}

}  // namespace zov::reg
