#include "platform/dialog/dialog_manager.h"

#include "platform/dialog/desktop.h"
#include "platform/dialog/template_lookup.h"
#include "platform/dialog/window_table.h"

namespace zov {

void AttachTerminal(Terminal* terminal) {
    Desktop::Get().Attach(terminal);
}

Terminal* AttachedTerminal() {
    return Desktop::Get().Attached();
}

void SetThreeDimensionalLook(bool on) {
    Desktop::Get().SetThreeDimensional(on);
}

bool ThreeDimensionalLook() {
    return Desktop::Get().ThreeDimensional();
}

BOOL ExecuteDialogInit(HWND hDlg, HINSTANCE hInstance, LPCSTR lpTemplateName) {
    Window* window = WindowTable::Find(hDlg);
    if (window == nullptr || window->Kind() != WindowKind::Dialog) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const ResourceModule* module = static_cast<const ResourceModule*>(hInstance);
    int id = 0;
    if (module == nullptr || !TemplateLookup::ParseId(lpTemplateName, &id)) {
        return TRUE;
    }
    const DialogInitData* init = module->FindDialogInit(id);
    if (init == nullptr) {
        return TRUE;
    }
    const auto* dialog = static_cast<const Dialog*>(window);
    BOOL allFound = TRUE;
    for (const DialogInitEntry& entry : init->entries) {
        Window* control = dialog->Control(entry.controlId);
        if (control == nullptr) {
            allFound = FALSE;
            continue;
        }
        control->Message(entry.message, 0, reinterpret_cast<LPARAM>(entry.text.c_str()));
    }
    if (!allFound) {
        SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    }
    return allFound;
}

}  // namespace zov
