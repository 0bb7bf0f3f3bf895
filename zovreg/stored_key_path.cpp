#include "zovreg/stored_key_path.h"

#include "platform/registry/key_name.h"
#include "platform/registry/key_tree_walk.h"
#include "platform/win32/scoped_key.h"
#include "zovreg/key_path.h"

namespace zov::reg {
namespace {

// Finds the subkey whose name matches wanted without case.
class SubkeyFinder : public KeyTreeVisitor {
  public:
    explicit SubkeyFinder(const std::string& wanted) : wanted_(FoldName(wanted)) {}
    LSTATUS OnKey(std::string_view path, std::size_t depth) override {
        if (depth == 1 && found_.empty() && FoldName(path) == wanted_) {
            found_ = path;
        }
        return ERROR_SUCCESS;
    }
    LSTATUS OnValue(std::string_view, DWORD, const BYTE*, std::size_t) override {
        return ERROR_SUCCESS;
    }
    const std::string& Found() const { return found_; }

  private:
    std::string wanted_;
    std::string found_;
};

}  // namespace

LSTATUS StoredKeyPath(const std::string& subpath, std::string* stored) {
    stored->clear();
    std::vector<std::string> names;
    LSTATUS status = SplitKeyPath(subpath, &names);
    ScopedKey current;
    for (const std::string& name : names) {
        if (status != ERROR_SUCCESS) {
            break;
        }
        HKEY parent = current.Get() != nullptr ? current.Get() : HKEY_LOCAL_MACHINE;
        SubkeyFinder finder(name);
        status = WalkKeyTree(parent, false, finder);
        if (status == ERROR_SUCCESS && finder.Found().empty()) {
            status = ERROR_FILE_NOT_FOUND;
        }
        ScopedKey next;
        if (status == ERROR_SUCCESS) {
            status = RegOpenKeyExA(parent, finder.Found().c_str(), 0, KEY_READ, next.Receive());
        }
        if (status == ERROR_SUCCESS) {
            current = std::move(next);
            *stored = JoinKeyPath(*stored, finder.Found());
        }
    }
    return status;
}

LSTATUS OpenStoredKey(const std::string& subpath, std::string* stored, ScopedKey* key) {
    const LSTATUS status = StoredKeyPath(subpath, stored);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, stored->empty() ? nullptr : stored->c_str(), 0,
                         KEY_READ, key->Receive());
}

}  // namespace zov::reg
