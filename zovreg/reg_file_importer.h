// Applies the changes of a .reg file to the registry as they are read: all of them, or none.
#pragma once

#include <string>

#include "platform/win32/registry.h"
#include "platform/win32/scoped_key.h"
#include "zovreg/reg_operation.h"

namespace zov::reg {

// One RegistryTransaction from Start to Commit; ending without Commit rolls everything back.
// Each failure is returned as false with *what saying why, in words. Deleting a key or value
// that does not exist is not a failure, as with regedit.
class RegFileImporter {
  public:
    bool Start(std::string* what);
    bool Apply(const RegOperation& operation, std::string* what);
    bool Commit(std::string* what);

  private:
    LSTATUS ApplyOne(const RegOperation& operation, std::string* action);
    LSTATUS OpenSection(const std::string& key_path);

    RegistryTransaction transaction_;
    ScopedKey current_;        // the key of the section being applied
    ScopedKey parent_;         // its parent, where the next sibling section is created
    std::string parent_path_;  // the path of parent_ as the file wrote it
};

}  // namespace zov::reg
