#include "zovreg/key_snapshot_reader.h"

#include <vector>

#include "platform/win32/scoped_key.h"
#include "zovreg/key_path.h"

namespace zov::reg {
namespace {

// Buffers as large as the longest names the registry allows, with their terminating zero.
constexpr DWORD kKeyNameBuffer = 256;
constexpr DWORD kValueNameBuffer = 16384;

char FoldCase(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

LSTATUS SubkeyNames(HKEY key, std::vector<std::string>* names) {
    names->clear();
    for (DWORD index = 0;; ++index) {
        std::string name(kKeyNameBuffer, '\0');
        DWORD size = kKeyNameBuffer;
        const LSTATUS status =
            RegEnumKeyExA(key, index, name.data(), &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            return ERROR_SUCCESS;
        }
        if (status != ERROR_SUCCESS) {
            return status;
        }
        name.resize(size);
        names->push_back(std::move(name));
    }
}

LSTATUS ReadValues(HKEY key, std::vector<ValueSnapshot>* values) {
    values->clear();
    for (DWORD index = 0;; ++index) {
        ValueSnapshot value;
        std::string name(kValueNameBuffer, '\0');
        DWORD name_size = kValueNameBuffer;
        DWORD data_size = 0;
        LSTATUS status = RegEnumValueA(key, index, name.data(), &name_size, nullptr, &value.type,
                                       nullptr, &data_size);
        if (status == ERROR_NO_MORE_ITEMS) {
            return ERROR_SUCCESS;
        }
        if (status != ERROR_SUCCESS) {
            return status;
        }
        value.data.resize(data_size);
        name_size = kValueNameBuffer;
        status = RegEnumValueA(key, index, name.data(), &name_size, nullptr, &value.type,
                               value.data.empty() ? nullptr : value.data.data(), &data_size);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        value.data.resize(data_size);
        name.resize(name_size);
        value.name = std::move(name);
        values->push_back(std::move(value));
    }
}

LSTATUS ReadKey(HKEY key, const std::string& path, bool recursive, KeySnapshot* snapshot) {
    snapshot->path = path;
    LSTATUS status = ReadValues(key, &snapshot->values);
    std::vector<std::string> names;
    if (status == ERROR_SUCCESS) {
        status = SubkeyNames(key, &names);
    }
    for (const std::string& name : names) {
        if (status != ERROR_SUCCESS) {
            break;
        }
        KeySnapshot& child = snapshot->subkeys.emplace_back();
        child.path = JoinKeyPath(path, name);
        if (recursive) {
            ScopedKey subkey;
            status = RegOpenKeyExA(key, name.c_str(), 0, KEY_READ, subkey.Receive());
            if (status == ERROR_SUCCESS) {
                status = ReadKey(subkey.Get(), child.path, true, &child);
            }
        }
    }
    return status;
}

// The stored spelling of subpath, found level by level among the subkeys.
LSTATUS StoredPath(const std::string& subpath, std::string* stored) {
    stored->clear();
    ScopedKey current;
    std::size_t start = 0;
    while (start < subpath.size()) {
        std::size_t end = subpath.find('\\', start);
        if (end == std::string::npos) {
            end = subpath.size();
        }
        const std::string wanted = subpath.substr(start, end - start);
        std::vector<std::string> names;
        HKEY parent = current.Get() != nullptr ? current.Get() : HKEY_LOCAL_MACHINE;
        LSTATUS status = SubkeyNames(parent, &names);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        std::string found;
        for (const std::string& name : names) {
            if (SameName(name, wanted)) {
                found = name;
                break;
            }
        }
        if (found.empty()) {
            return ERROR_FILE_NOT_FOUND;
        }
        ScopedKey next;
        status = RegOpenKeyExA(parent, found.c_str(), 0, KEY_READ, next.Receive());
        if (status != ERROR_SUCCESS) {
            return status;
        }
        current = std::move(next);
        *stored = JoinKeyPath(*stored, found);
        start = end + 1;
    }
    return ERROR_SUCCESS;
}

}  // namespace

LSTATUS ReadKeySnapshot(const std::string& subpath, bool recursive, KeySnapshot* snapshot) {
    *snapshot = KeySnapshot{};
    ScopedKey key;
    LSTATUS status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subpath.empty() ? nullptr : subpath.c_str(),
                                   0, KEY_READ, key.Receive());
    std::string stored;
    if (status == ERROR_SUCCESS) {
        status = StoredPath(subpath, &stored);
    }
    if (status == ERROR_SUCCESS) {
        status = ReadKey(key.Get(), stored, recursive, snapshot);
    }
    return status;
}

}  // namespace zov::reg
