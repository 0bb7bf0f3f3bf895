// Resources as the program carries them: dialog templates in dialog units, their initialisation
// data (the entries of drop-down lists), and icons. A program hands its resources to the platform
// as one ResourceModule; its HINSTANCE is a pointer to that module.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

// HINSTANCE and HICON point to these; deriving from the opaque handle structures makes the
// conversion between handle and object a checked static_cast.
struct HINSTANCE__ {};
struct HICON__ {};

namespace zov {

// The predefined window classes of dialog templates.
enum class ControlClass { Button, Edit, Static, ListBox, ComboBox };

struct ControlTemplate {
    int id = IDC_STATIC;
    ControlClass controlClass = ControlClass::Static;
    std::string text;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD style = 0;  // WS_*, and BS_/SS_/ES_/LBS_/CBS_ of its class
    DWORD exStyle = 0;
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD style = 0;  // WS_*, DS_*
    DWORD exStyle = 0;
    std::string fontName;
    int pointSize = 0;
    std::vector<ControlTemplate> controls;  // in template order, which is the tab order
};

// One entry of a dialog's initialisation data: a message (LB_ADDSTRING or CB_ADDSTRING) sent to
// a control with the text as its argument, in resource order, when the dialog is created.
struct DialogInitEntry {
    int controlId = 0;
    UINT message = 0;
    std::string text;
};

struct DialogInitData {
    int dialogId = 0;
    std::vector<DialogInitEntry> entries;
};

// A 32 by 32 image in the 16 colours of the standard VGA palette, one palette index per pixel,
// row by row from the top.
struct IconImage : HICON__ {
    static constexpr int kSize = 32;
    int id = 0;
    std::array<uint8_t, std::size_t{kSize} * kSize> pixels{};
};

struct ResourceModule : HINSTANCE__ {
    std::vector<DialogTemplate> dialogs;
    std::vector<DialogInitData> dialogInit;
    std::vector<IconImage> icons;

    const DialogTemplate* FindDialog(int id) const {
        for (const auto& dialog : dialogs) {
            if (dialog.id == id) {
                return &dialog;
            }
        }
        return nullptr;
    }
    const DialogInitData* FindDialogInit(int id) const {
        for (const auto& init : dialogInit) {
            if (init.dialogId == id) {
                return &init;
            }
        }
        return nullptr;
    }
    const IconImage* FindIcon(int id) const {
        for (const auto& icon : icons) {
            if (icon.id == id) {
                return &icon;
            }
        }
        return nullptr;
    }
};

}  // namespace zov
