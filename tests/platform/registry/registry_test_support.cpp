#include "registry_test_support.h"

#include <fcntl.h>
#include <ftw.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/format.h"
#include "platform/registry/registry_database.h"

namespace zov::test {
namespace {

int RemoveEntry(const char* path, const struct stat* /*info*/, int /*flag*/, struct FTW* /*ftw*/) {
    return remove(path);
}

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::uint8_t> ParseData(const std::string& notation, DWORD* type) {
    std::vector<std::uint8_t> data;
    if (notation.rfind("dword:", 0) == 0) {
        *type = REG_DWORD;
        const auto value = static_cast<DWORD>(std::strtoul(notation.c_str() + 6, nullptr, 0));
        for (int shift = 0; shift < 32; shift += 8) {
            data.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    } else if (notation.rfind("sz:", 0) == 0) {
        *type = REG_SZ;
        data.assign(notation.begin() + 3, notation.end());
        data.push_back(0);
    } else if (notation.rfind("hex:", 0) == 0) {
        *type = REG_BINARY;
        std::istringstream bytes(notation.substr(4));
        std::string byte;
        while (bytes >> byte) {
            data.push_back(static_cast<std::uint8_t>(std::strtoul(byte.c_str(), nullptr, 16)));
        }
    } else {
        ADD_FAILURE() << "unknown value notation: " << notation;
    }
    return data;
}

std::string FormatData(DWORD type, const std::vector<std::uint8_t>& data) {
    if (type == REG_DWORD && data.size() == 4) {
        return FormatText("dword:0x%X", DwordOf(data));
    }
    if (type == REG_SZ && !data.empty() && data.back() == 0 &&
        std::memchr(data.data(), 0, data.size() - 1) == nullptr) {
        return "sz:" + std::string(data.begin(), data.end() - 1);
    }
    std::string text = type == REG_BINARY ? "hex:" : FormatText("hex(%u):", type);
    for (std::size_t i = 0; i < data.size(); ++i) {
        text += FormatText(i == 0 ? "%02x" : " %02x", data[i]);
    }
    return text;
}

void DumpKey(HKEY key, const std::string& relative, std::string* out) {
    if (!relative.empty()) {
        *out += relative + "\n";
    }
    for (DWORD index = 0;; ++index) {
        std::string name(16384, '\0');
        DWORD name_size = static_cast<DWORD>(name.size());
        DWORD type = 0;
        std::vector<std::uint8_t> data(1 << 16);
        DWORD data_size = static_cast<DWORD>(data.size());
        const LSTATUS status = RegEnumValueA(key, index, name.data(), &name_size, nullptr, &type,
                                             data.data(), &data_size);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        ASSERT_EQ(status, ERROR_SUCCESS);
        name.resize(name_size);
        data.resize(data_size);
        *out +=
            "  " + (name.empty() ? std::string("@") : name) + " = " + FormatData(type, data) + "\n";
    }
    for (DWORD index = 0;; ++index) {
        std::string name(256, '\0');
        DWORD name_size = static_cast<DWORD>(name.size());
        const LSTATUS status =
            RegEnumKeyExA(key, index, name.data(), &name_size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        ASSERT_EQ(status, ERROR_SUCCESS);
        name.resize(name_size);
        HKEY child = nullptr;
        ASSERT_EQ(RegOpenKeyExA(key, name.c_str(), 0, KEY_READ, &child), ERROR_SUCCESS);
        DumpKey(child, relative.empty() ? name : relative + "\\" + name, out);
        RegCloseKey(child);
    }
}

}  // namespace

DWORD DwordOf(const std::vector<std::uint8_t>& data) {
    DWORD value = 0;
    for (std::size_t i = 0; i < 4 && i < data.size(); ++i) {
        value |= static_cast<DWORD>(data[i]) << (8 * i);
    }
    return value;
}

void RegistryTest::SetUp() {
    std::string pattern = "/tmp/zovreg-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr) << std::strerror(errno);
    dir_ = pattern;
    database_ = dir_ + "/registry.db";
    setenv("ZOVCFG_REGISTRY", database_.c_str(), 1);
    CloseRegistryDatabase();
    DisableAllPrivileges();
}

void RegistryTest::TearDown() {
    CloseRegistryDatabase();
    DisableAllPrivileges();
    if (!dir_.empty()) {
        nftw(dir_.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
}

void RegistryTest::Build(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    HKEY key = nullptr;
    while (std::getline(lines, line)) {
        if (Trim(line).empty()) {
            continue;
        }
        if (line[0] != ' ' && line[0] != '\t') {
            if (key != nullptr) {
                RegCloseKey(key);
            }
            ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, Trim(line).c_str(), 0, nullptr, 0,
                                      KEY_ALL_ACCESS, nullptr, &key, nullptr),
                      ERROR_SUCCESS)
                << line;
            continue;
        }
        ASSERT_NE(key, nullptr) << "value before any key: " << line;
        const std::string entry = Trim(line);
        const std::size_t equals = entry.find(" = ");
        ASSERT_NE(equals, std::string::npos) << line;
        std::string name = entry.substr(0, equals);
        if (name == "@") {
            name.clear();
        }
        DWORD type = 0;
        const std::vector<std::uint8_t> data = ParseData(entry.substr(equals + 3), &type);
        ASSERT_EQ(RegSetValueExA(key, name.c_str(), 0, type, data.data(),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS)
            << line;
    }
    if (key != nullptr) {
        RegCloseKey(key);
    }
}

std::string RegistryTest::Dump(const std::string& path) {
    HKEY key = nullptr;
    const LSTATUS status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key);
    if (status != ERROR_SUCCESS) {
        return FormatText("<cannot open %s: %d>", path.c_str(), static_cast<int>(status));
    }
    std::string out;
    DumpKey(key, "", &out);
    RegCloseKey(key);
    return out;
}

HKEY RegistryTest::Open(const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &key), ERROR_SUCCESS)
        << path;
    return key;
}

std::vector<std::uint8_t> RegistryTest::ReadFileBytes(const std::string& path) const {
    std::vector<std::uint8_t> bytes;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ADD_FAILURE() << "cannot read " << path;
        return bytes;
    }
    std::vector<std::uint8_t> chunk(4096);
    ssize_t n = 0;
    while ((n = read(fd, chunk.data(), chunk.size())) > 0) {
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + n);
    }
    close(fd);
    return bytes;
}

void RegistryTest::WriteFileBytes(const std::string& path,
                                  const std::vector<std::uint8_t>& bytes) const {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(fd);
}

bool RegistryTest::Exists(const std::string& path) const {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

void EnablePrivilege(const char* name) {
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token));
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid));
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr));
    CloseHandle(token);
}

void DisableAllPrivileges() {
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) {
        AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr);
        CloseHandle(token);
    }
}

int RunInChild(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        _exit(body());
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

bool BecomeNobody() {
    constexpr gid_t kNogroup = 65534;
    constexpr uid_t kNobody = 65534;
    return setgroups(0, nullptr) == 0 && setgid(kNogroup) == 0 && setuid(kNobody) == 0;
}

}  // namespace zov::test
