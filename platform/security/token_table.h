// The live token handles. A handle is a number handed out once and looked up here, never a
// pointer that is followed, so a closed or made-up handle is answered with a status, not a crash.
#pragma once

#include <memory>

#include "platform/security/token.h"
#include "platform/win32/base.h"

namespace zov {

class TokenTable {
  public:
    // A new handle for the token; throws std::bad_alloc when memory runs out.
    static HANDLE Insert(std::shared_ptr<const Token> token);

    // The token of a live handle, or nullptr.
    static std::shared_ptr<const Token> Find(HANDLE handle);

    // Forgets the handle; false when it was not live.
    static bool Erase(HANDLE handle);
};

}  // namespace zov
