#include "store/registry_file.h"

#include "platform/posix_file.h"
#include "platform/win32/registry.h"

namespace zov {

std::string RegistryFilePath() {
    const DWORD needed = ZovGetRegistryPathA(nullptr, 0);
    std::string path(needed, '\0');
    const DWORD length = ZovGetRegistryPathA(path.data(), needed);
    path.resize(length < needed ? length : 0);
    return path;
}

std::string RegistryFileDirectory() {
    return DirectoryOf(RegistryFilePath());
}

}  // namespace zov
