// Assembles the resource module from its templates, list entries and icon.
#include "ui/res/zovcfg_resources.h"

#include "ui/res/dialog_templates.h"

namespace {

zov::ResourceModule BuildModule() {
    using namespace zovcfg::res;
    zov::ResourceModule module;
    module.dialogs = {CardListTemplate(),     CardSettingsTemplate(),    CardPropertiesTemplate(),
                      AddCardErrorTemplate(), PropertiesErrorTemplate(), RemoveErrorTemplate(),
                      RemoveCardTemplate()};
    module.dialogInit = {CardSettingsInitData()};
    module.icons = {MainFrameIcon()};
    return module;
}

}  // namespace

const zov::ResourceModule& ZovcfgResources() {
    static const zov::ResourceModule module = BuildModule();
    return module;
}

HINSTANCE ZovcfgInstance() {
    // HINSTANCE is a pointer to the module's handle base; the dialog manager casts it back. The
    // module is never written through the handle.
    return const_cast<zov::ResourceModule*>(&ZovcfgResources());
}
