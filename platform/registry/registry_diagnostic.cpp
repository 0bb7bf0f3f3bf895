#include "platform/registry/registry_diagnostic.h"

#include <utility>

#include "platform/win32/registry.h"

namespace {

thread_local std::string diagnostic_line;

}  // namespace

namespace zov {

void SetRegistryDiagnostic(std::string line) {
    diagnostic_line = std::move(line);
}

void ClearRegistryDiagnostic() {
    diagnostic_line.clear();
}

}  // namespace zov

LPCSTR ZovRegistryDiagnostic(void) {
    return diagnostic_line.c_str();
}
