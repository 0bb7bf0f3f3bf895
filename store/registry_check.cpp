#include "store/registry_check.h"

#include "platform/format.h"
#include "platform/win32/registry.h"
#include "store/card_layout.h"
#include "store/registry_file.h"
#include "store/registry_key.h"

namespace zov {

bool CheckRegistryReadable(std::string& reason) {
    RegistryKey parameters;
    const LSTATUS status = parameters.Open(HKEY_LOCAL_MACHINE, kParametersKeyPath, KEY_READ);
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        return true;
    }
    const std::string diagnostic = ZovRegistryDiagnostic();
    if (!diagnostic.empty()) {
        reason = diagnostic;
    } else if (status == ERROR_ACCESS_DENIED) {
        reason = FormatText("%s: permission denied; ask an administrator for read access",
                            RegistryFilePath().c_str());
    } else {
        reason = FormatText("%s: the registry cannot be read (status %ld)",
                            RegistryFilePath().c_str(), static_cast<long>(status));
    }
    return false;
}

}  // namespace zov
