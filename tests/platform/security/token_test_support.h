// Helpers for the token tests: owned token handles, SID bytes built independently of the code
// under test, and a token's group SIDs.
#pragma once

#include <memory>
#include <vector>

#include "platform/security/credentials.h"
#include "platform/win32.h"

namespace zov::testing {

struct TokenCloser {
    void operator()(HANDLE token) const { CloseHandle(token); }
};
// A token handle closed when it goes out of scope.
using TokenHandle = std::unique_ptr<void, TokenCloser>;

// The process token opened with the given rights; null when the open fails.
TokenHandle OpenOwnProcessToken(DWORD access);

// A token standing for the credentials, independent of the process.
TokenHandle TokenFor(const Credentials& credentials, DWORD access = TOKEN_ALL_ACCESS);

// The bytes of a SID, copied out of wherever it lives.
std::vector<BYTE> SidBytes(PSID sid);

// The bytes of S-1-<authority>-<sub authorities...>.
std::vector<BYTE> SidBytesOf(BYTE authority, const std::vector<DWORD>& sub_authorities);

// The bytes of S-1-5-32-544.
std::vector<BYTE> AdministratorsSidBytes();

// The group SIDs of a token in its order, read into size bytes (0: as many as it needs); empty
// when the query fails.
std::vector<std::vector<BYTE>> GroupSidsOf(HANDLE token, DWORD size = 0);

LUID LuidOf(LPCSTR privilege_name);

// Sets one privilege's attributes through the token (by default a freshly opened process
// token); returns the last error, or ~0 when the call failed.
DWORD Adjust(LPCSTR privilege_name, DWORD attributes = SE_PRIVILEGE_ENABLED,
             HANDLE token = nullptr);

}  // namespace zov::testing
