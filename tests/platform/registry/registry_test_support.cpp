#include "registry_test_support.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/format.h"
#include "platform/registry/registry_database.h"

namespace zov::test {
namespace {

std::vector<std::uint8_t> ParseData(const std::string& notation, DWORD* type) {
    std::vector<std::uint8_t> data;
    const std::size_t colon = notation.find(':');
    const std::string kind = notation.substr(0, colon);
    const std::string rest = colon == std::string::npos ? "" : notation.substr(colon + 1);
    if (kind == "dword") {
        *type = REG_DWORD;
        const auto value = static_cast<DWORD>(std::strtoul(rest.c_str(), nullptr, 0));
        data.resize(sizeof value);
        std::memcpy(data.data(), &value, sizeof value);  // little-endian, as on Windows
    } else if (kind == "sz") {
        *type = REG_SZ;
        data.assign(rest.begin(), rest.end());
        data.push_back(0);
    } else if (kind == "hex") {
        *type = REG_BINARY;
        std::istringstream bytes(rest);
        for (unsigned byte = 0; bytes >> std::hex >> byte;) {
            data.push_back(static_cast<std::uint8_t>(byte));
        }
    } else {
        ADD_FAILURE() << "unknown value notation: " << notation;
    }
    return data;
}

std::string FormatData(DWORD type, const std::vector<std::uint8_t>& data) {
    if (DWORD value = 0; type == REG_DWORD && data.size() == sizeof value) {
        std::memcpy(&value, data.data(), sizeof value);
        return FormatText("dword:0x%X", value);
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
    *out += relative.empty() ? "" : relative + "\n";
    std::string name(16384, '\0');
    std::vector<std::uint8_t> data(1 << 16);
    DWORD name_size = 0;
    DWORD data_size = 0;
    DWORD type = 0;
    for (DWORD index = 0;; ++index) {
        name_size = static_cast<DWORD>(name.size());
        data_size = static_cast<DWORD>(data.size());
        const LSTATUS status = RegEnumValueA(key, index, name.data(), &name_size, nullptr, &type,
                                             data.data(), &data_size);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        ASSERT_EQ(status, ERROR_SUCCESS);
        *out += "  " + (name_size == 0 ? "@" : name.substr(0, name_size)) + " = " +
                FormatData(type, {data.begin(), data.begin() + data_size}) + "\n";
    }
    for (DWORD index = 0;; ++index) {
        name_size = static_cast<DWORD>(name.size());
        HKEY child = nullptr;
        const LSTATUS status =
            RegEnumKeyExA(key, index, name.data(), &name_size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        ASSERT_EQ(status, ERROR_SUCCESS);
        const std::string subkey = name.substr(0, name_size);
        ASSERT_EQ(RegOpenKeyExA(key, subkey.c_str(), 0, KEY_READ, &child), ERROR_SUCCESS);
        DumpKey(child, relative.empty() ? subkey : relative + "\\" + subkey, out);
        RegCloseKey(child);
    }
}

}  // namespace

std::string Repeat(const std::string& piece, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += piece;
    }
    return out;
}

void RegistryTest::SetUp() {
    std::string pattern = "/tmp/zovreg-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr) << std::strerror(errno);
    dir_ = pattern;
    database_ = dir_ + "/registry.db";
    setenv("ZOVCFG_REGISTRY", database_.c_str(), 1);
    CloseRegistryDatabase();
    if (geteuid() != 0) {
        Credentials administrator = Credentials::OfProcess();
        administrator.supplementary_groups.push_back(0);
        administrator_.emplace(administrator);
    }
    DisableAllPrivileges();
}

void RegistryTest::TearDown() {
    CloseRegistryDatabase();
    DisableAllPrivileges();
    administrator_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

void RegistryTest::Build(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    HKEY key = nullptr;
    while (std::getline(lines, line)) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos) {
            continue;
        }
        const std::string entry = line.substr(first, line.find_last_not_of(" \t") - first + 1);
        if (first == 0) {
            RegCloseKey(key);  // refuses a null handle harmlessly
            ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, entry.c_str(), &key), ERROR_SUCCESS) << line;
            continue;
        }
        const std::size_t equals = entry.find(" = ");
        ASSERT_TRUE(key != nullptr && equals != std::string::npos) << line;
        const std::string name = entry.substr(0, equals);
        DWORD type = 0;
        const std::vector<std::uint8_t> data = ParseData(entry.substr(equals + 3), &type);
        ASSERT_EQ(RegSetValueExA(key, name == "@" ? "" : name.c_str(), 0, type, data.data(),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS)
            << line;
    }
    RegCloseKey(key);
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
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.is_open()) << "cannot read " << path;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void RegistryTest::WriteFileBytes(const std::string& path,
                                  const std::vector<std::uint8_t>& bytes) const {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good()) << path;
}

bool RegistryTest::Exists(const std::string& path) const {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

Credentials InGroup(gid_t group) {
    Credentials user = Credentials::OfProcess();
    user.gid = group;
    user.supplementary_groups = {group};
    return user;
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
    if (child == 0) {
        _exit(body());
    }
    int status = 0;
    pid_t waited = -1;
    while (child > 0 && (waited = waitpid(child, &status, 0)) < 0 && errno == EINTR) {
    }
    if (child < 0 || waited != child) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

ProgramRun RunWithoutTerminal(const std::string& program, std::vector<std::string> arguments,
                              const std::string& directory) {
    const std::string out = directory + "/stdout";
    const std::string err = directory + "/stderr";
    arguments.insert(arguments.begin(), program);
    const int status = RunInChild([&] {
        setsid();
        dup2(open("/dev/null", O_RDONLY), 0);
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        return 127;
    });
    const auto text = [](const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    };
    return {status, text(out), text(err)};
}

bool BecomeNobody() {
    constexpr gid_t kNogroup = 65534;
    constexpr uid_t kNobody = 65534;
    return setgroups(0, nullptr) == 0 && setgid(kNogroup) == 0 && setuid(kNobody) == 0;
}

LSTATUS CreateKey(HKEY parent, const char* path, HKEY* key, DWORD* disposition) {
    return RegCreateKeyExA(parent, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key, disposition);
}

LSTATUS SetDword(const std::string& path, const std::string& name, DWORD value) {
    HKEY key = nullptr;
    LSTATUS status = CreateKey(HKEY_LOCAL_MACHINE, path.c_str(), &key);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExA(key, name.c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(key);
    }
    return status;
}

LSTATUS GetDword(const std::string& path, const std::string& name, DWORD* value) {
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key);
    if (status == ERROR_SUCCESS) {
        DWORD size = sizeof *value;
        status = RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(value), &size);
        RegCloseKey(key);
    }
    return status;
}

LSTATUS QueryStatus(HKEY key, const char* name) {
    DWORD size = 0;
    return RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size);
}

}  // namespace zov::test
