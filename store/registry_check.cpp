#include "store/registry_check.h"

#include "platform/format.h"
#include "platform/win32/registry.h"
#include "platform/win32/scoped_key.h"
#include "store/card_layout.h"
#include "store/registry_file.h"

namespace zov {

std::string DescribeRefusal(LSTATUS status) {
    const std::string diagnostic = ZovRegistryDiagnostic();
    return diagnostic.empty()
               ? FormatText("status %ld", static_cast<long>(status))
               : FormatText("status %ld: %s", static_cast<long>(status), diagnostic.c_str());
}

std::optional<std::string> CheckRegistryReadable() {
    ScopedKey parameters;
    const LSTATUS status = parameters.Open(HKEY_LOCAL_MACHINE, kParametersKeyPath, KEY_READ);
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        return std::nullopt;
    }
    const std::string diagnostic = ZovRegistryDiagnostic();
    if (!diagnostic.empty()) {
        return diagnostic;
    }
    if (status == ERROR_ACCESS_DENIED) {
        return FormatText("%s: permission denied; ask an administrator for read access",
                          RegistryFilePath().c_str());
    }
    return FormatText("%s: the registry cannot be read (status %ld)", RegistryFilePath().c_str(),
                      static_cast<long>(status));
}

}  // namespace zov
