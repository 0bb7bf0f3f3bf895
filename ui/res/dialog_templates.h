// The parts the resource module is assembled from, one function per template or resource.
#pragma once

#include "platform/dialog/resource.h"

namespace zovcfg::res {

zov::DialogTemplate CardListTemplate();
zov::DialogTemplate CardSettingsTemplate();
zov::DialogTemplate CardPropertiesTemplate();
zov::DialogTemplate AddCardErrorTemplate();
zov::DialogTemplate PropertiesErrorTemplate();
zov::DialogTemplate RemoveErrorTemplate();
zov::DialogTemplate RemoveCardTemplate();

// The entries of the three drop-down lists of the card settings dialog, in resource order.
zov::DialogInitData CardSettingsInitData();

zov::IconImage MainFrameIcon();

}  // namespace zovcfg::res
