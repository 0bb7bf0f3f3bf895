// Makes the control a template entry describes: its class, and for buttons its BS_ type.
#pragma once

#include <memory>

#include "platform/dialog/resource.h"
#include "platform/dialog/window.h"

namespace zov {

std::unique_ptr<Window> CreateControl(const ControlTemplate& control);

}  // namespace zov
