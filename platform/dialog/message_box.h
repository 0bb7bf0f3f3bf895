// MessageBoxA: a small dialog built at run time with the text (lines split at '\n' and wrapped),
// the icon as a short text sign, and the buttons of the type.
#pragma once

#include "platform/dialog/resource.h"

namespace zov {

class MessageBox {
  public:
    // The template of a message box on a screen of the given width.
    static DialogTemplate Build(const char* text, const char* caption, UINT type, int screenWidth);
    static int Run(HWND owner, const char* text, const char* caption, UINT type);
    // The sign standing for the icon of the type, or "" for none.
    static const char* Sign(UINT type);
    // The id of the static that shows the sign in a built template.
    static constexpr int kSignId = 0xFFF0;
};

}  // namespace zov
