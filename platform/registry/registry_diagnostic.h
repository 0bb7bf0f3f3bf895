// The per-thread line that ZovRegistryDiagnostic returns: why the registry database could not be
// used by the last call of this thread that failed for that reason.
#pragma once

#include <string>

namespace zov {

void SetRegistryDiagnostic(std::string line);
void ClearRegistryDiagnostic();

}  // namespace zov
