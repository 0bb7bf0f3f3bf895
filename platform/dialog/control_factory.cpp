#include "platform/dialog/control_factory.h"

#include "platform/dialog/combo_box.h"
#include "platform/dialog/edit_box.h"
#include "platform/dialog/group_box.h"
#include "platform/dialog/list_box.h"
#include "platform/dialog/push_button.h"
#include "platform/dialog/radio_button.h"
#include "platform/dialog/static_text.h"

namespace zov {

std::unique_ptr<Window> CreateControl(const ControlTemplate& control) {
    switch (control.controlClass) {
        case ControlClass::Button:
            switch (control.style & BS_TYPEMASK) {
                case BS_GROUPBOX:
                    return std::make_unique<GroupBox>(control);
                case BS_CHECKBOX:
                case BS_AUTOCHECKBOX:
                case BS_RADIOBUTTON:
                case BS_3STATE:
                case BS_AUTO3STATE:
                case BS_AUTORADIOBUTTON:
                    return std::make_unique<RadioButton>(control);
                default:
                    return std::make_unique<PushButton>(control);
            }
        case ControlClass::Edit:
            return std::make_unique<EditBox>(control);
        case ControlClass::ListBox:
            return std::make_unique<ListBox>(control);
        case ControlClass::ComboBox:
            return std::make_unique<ComboBox>(control);
        case ControlClass::Static:
            break;
    }
    return std::make_unique<StaticText>(control);
}

}  // namespace zov
