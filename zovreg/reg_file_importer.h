// Applies the changes of a .reg file to the registry: all of them, or none.
#pragma once

#include <string>
#include <vector>

#include "zovreg/reg_operation.h"

namespace zov::reg {

struct ImportFailure {
    int line = 0;      // the line whose change failed, 0 when the commit itself failed
    std::string what;  // why, in words
};

// Runs the operations in order in one RegistryTransaction and commits it. On the first failure
// everything is rolled back and false is returned with *failure. Deleting a key or value that
// does not exist is not a failure, as with regedit.
bool ImportRegOperations(const std::vector<RegOperation>& operations, ImportFailure* failure);

}  // namespace zov::reg
