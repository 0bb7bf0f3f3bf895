// Helpers for the token tests: reading a token's groups the way the utility does, and running a
// check in a child process that has dropped to another user.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace zov::testing {

// The bytes of a SID, copied out of wherever it lives.
std::vector<BYTE> SidBytes(PSID sid);

// The bytes of S-1-5-32-544, built here independently of the code under test.
std::vector<BYTE> AdministratorsSidBytes();

// The bytes of S-1-<authority>-<sub authorities...>.
std::vector<BYTE> SidBytesOf(BYTE authority, const std::vector<DWORD>& sub_authorities);

// The group SIDs of a token, in the order the token lists them; empty when the query fails.
std::vector<std::vector<BYTE>> GroupSidsOf(HANDLE token);

// What the utility's administrator test does: open the process token for reading, read the
// groups into 1024 bytes and look for the Administrators SID.
bool ProcessTokenListsAdministrators();

// Runs check in a forked child after it has switched to the given user, group and no
// supplementary groups; returns the child's exit status, or -1 when the child did not exit
// normally. The child exits with 100 when it could not switch.
int RunInChildAs(uid_t uid, gid_t gid, const std::function<int()>& check);

struct UserIds {
    uid_t uid;
    gid_t gid;
};

// The ids of the user "nobody"; false when the system has no such user.
bool LookUpNobody(UserIds& ids);

}  // namespace zov::testing
