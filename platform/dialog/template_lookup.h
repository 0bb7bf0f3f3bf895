// Finds a dialog template by the name DialogBoxParamA gets: MAKEINTRESOURCE(id) or "#id".
#pragma once

#include "platform/dialog/resource.h"

namespace zov {

class TemplateLookup {
  public:
    static bool ParseId(LPCSTR name, int* id);
    // The template, or nullptr with ERROR_RESOURCE_NAME_NOT_FOUND as the last error.
    static const DialogTemplate* Find(HINSTANCE module, LPCSTR name);
};

}  // namespace zov
