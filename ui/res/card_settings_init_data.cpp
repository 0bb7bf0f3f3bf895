// The entries of the card settings dialog's drop-down lists, added in this order when the
// dialog is created: base addresses, interrupts, starting ports. The values come from the card
// store's one list of choices, which the card commands use too.
#include "store/card_choices.h"
#include "ui/res/dialog_templates.h"
#include "ui/res/resource.h"

namespace zovcfg::res {

zov::DialogInitData CardSettingsInitData() {
    zov::DialogInitData init;
    init.dialogId = IDD_CARD_SETTINGS;

    for (int index = 0; index < zov::kBaseAddressChoiceCount; ++index) {
        init.entries.push_back({IDC_BASE_ADDRESS, CB_ADDSTRING,
                                zov::BaseAddressChoiceText(zov::BaseAddressChoice(index))});
    }
    for (const uint32_t irq : zov::kIrqChoices) {
        init.entries.push_back({IDC_IRQ, CB_ADDSTRING, zov::IrqChoiceText(irq)});
    }
    for (uint32_t com = zov::kFirstStartingCom; com <= zov::kLastStartingCom; ++com) {
        init.entries.push_back({IDC_STARTING_PORT, CB_ADDSTRING, zov::StartingPortChoiceText(com)});
    }
    return init;
}

}  // namespace zovcfg::res
