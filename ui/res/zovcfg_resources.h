// The resources of zovcfg as one module: the seven dialog templates, the list entries of the
// card settings dialog and the application icon.
#pragma once

#include "platform/dialog/resource.h"

// The module, built once on first use and never changed afterwards.
const zov::ResourceModule& ZovcfgResources();

// The same module as the instance handle that DialogBoxParamA and LoadIconA take.
HINSTANCE ZovcfgInstance();
