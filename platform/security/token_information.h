// The bytes GetTokenInformation writes for each information class this platform provides:
// TokenUser, TokenGroups and TokenPrivileges, laid out as Windows lays them out.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include "platform/security/token.h"
#include "platform/win32/security.h"

namespace zov {

struct TokenInformationImage {
    std::size_t size = 0;
    // Writes the structure into a buffer of at least size bytes; pointers in it point into that
    // buffer.
    std::function<void(BYTE*)> write;
};

// Nothing for an information class this platform does not provide.
std::optional<TokenInformationImage> TokenInformationOf(const Token& token,
                                                        TOKEN_INFORMATION_CLASS information_class);

}  // namespace zov
