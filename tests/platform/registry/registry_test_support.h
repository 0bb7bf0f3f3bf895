// Shared pieces of the registry tests: a fresh database per test, a registry built from a few
// lines of text and read back as text, privileges, and child processes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/security/credentials.h"
#include "platform/win32.h"

namespace zov::test {

// Cases of a parameterised test that carry a `name`: it names the test and the case in failure
// messages. The cases' own namespace takes PrintTo in with a using-declaration, since gtest finds
// it by argument-dependent lookup, which searches only there.
template <class Case>
requires requires(const Case& c) {
    std::string(c.name);
}
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}
inline constexpr auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

// Each test gets its own temporary directory (mkdtemp under /tmp) and ZOVCFG_REGISTRY pointing
// at registry.db inside it; the process's connection is closed before and after. Run by a user
// who is not root, the test's token holds the administrators group (group 0) all the same, as
// root's does: the files are the user's own, so only the token's answer was missing.
class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    const std::string& Dir() const { return dir_; }
    const std::string& DatabasePath() const { return database_; }
    std::string PathInDir(const std::string& name) const { return dir_ + "/" + name; }

    // Lines without indentation name a key (a path below HKEY_LOCAL_MACHINE), created with any
    // missing parents; indented lines give a value of the key above them:
    //   name = dword:0x2A0 | sz:COM13 (stored with its terminating zero) | hex:01 02 ff
    // The name "@" stands for the default (empty) value name.
    void Build(const std::string& text);

    // The subtree of the key at path as text in the same notation, in enumeration order, with
    // paths relative to path; values of unknown types appear as hex.
    std::string Dump(const std::string& path);

    // Opens a key below HKEY_LOCAL_MACHINE with KEY_ALL_ACCESS, failing the test if it cannot.
    HKEY Open(const std::string& path, REGSAM access = KEY_ALL_ACCESS);

    std::vector<std::uint8_t> ReadFileBytes(const std::string& path) const;
    void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) const;
    bool Exists(const std::string& path) const;

  private:
    std::string dir_;
    std::string database_;
    std::optional<ScopedProcessCredentials> administrator_;
};

// The process's own user with `group` as its only group: 0 makes an administrator, any other
// group an ordinary user.
Credentials InGroup(gid_t group);

// Turns the named privilege (SE_BACKUP_NAME, SE_RESTORE_NAME) on for the process.
void EnablePrivilege(const char* name);
// Turns every privilege of the process off.
void DisableAllPrivileges();

// Runs body in a forked child and returns its exit code, or 128 + the signal that ended it.
// The child ends with _exit, so nothing of the parent's test state runs twice.
int RunInChild(const std::function<int()>& body);

// What a program left: its exit code (or 128 + the signal that ended it) and its two streams.
struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};
// Runs program in a session of its own, so without a controlling terminal, with standard input
// from /dev/null; its streams pass through files in directory.
ProgramRun RunWithoutTerminal(const std::string& program, std::vector<std::string> arguments,
                              const std::string& directory);

// In a child: drops to the user nobody; false when that fails.
bool BecomeNobody();

// piece, count times over.
std::string Repeat(const std::string& piece, int count);

// RegCreateKeyExA with KEY_ALL_ACCESS and no class, options or security.
LSTATUS CreateKey(HKEY parent, const char* path, HKEY* key, DWORD* disposition = nullptr);
// Creates the key at path below HKEY_LOCAL_MACHINE as needed and sets a REG_DWORD in it.
LSTATUS SetDword(const std::string& path, const std::string& name, DWORD value);
// Reads a REG_DWORD of the key at path below HKEY_LOCAL_MACHINE through a KEY_READ handle.
LSTATUS GetDword(const std::string& path, const std::string& name, DWORD* value);
// The status of asking key for the size of its value name.
LSTATUS QueryStatus(HKEY key, const char* name);

}  // namespace zov::test
