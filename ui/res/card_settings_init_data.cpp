// The entries of the card settings dialog's drop-down lists, added in this order when the
// dialog is created: base addresses, interrupts, starting ports.
#include "platform/format.h"
#include "ui/res/dialog_templates.h"
#include "ui/res/resource.h"

namespace zovcfg::res {

zov::DialogInitData CardSettingsInitData() {
    zov::DialogInitData init;
    init.dialogId = IDD_CARD_SETTINGS;

    // I/O base addresses 0x100 to 0x3F0 in steps of 0x10, three upper-case hex digits.
    for (int address = 0x100; address <= 0x3F0; address += 0x10) {
        init.entries.push_back({IDC_BASE_ADDRESS, CB_ADDSTRING, zov::FormatText("%X", address)});
    }
    for (const char* irq : {"2", "3", "4", "5", "7", "10", "11", "12", "15"}) {
        init.entries.push_back({IDC_IRQ, CB_ADDSTRING, irq});
    }
    for (int port = 1; port <= 132; ++port) {
        init.entries.push_back({IDC_STARTING_PORT, CB_ADDSTRING, zov::FormatText("COM%d", port)});
    }
    return init;
}

}  // namespace zovcfg::res
