// zovcfg: with a command, hands control to the card commands; without one, to the application
// object and its dialogs.
#include <iostream>

#include "cli/card_commands.h"
#include "platform/framework/afx_win_main.h"
#include "ui/res/zovcfg_resources.h"

int main(int argc, char** argv) {
    if (argc > 1) {
        return zov::cli::RunCardCommands(argc, argv, std::cout, std::cerr);
    }
    return AfxWinMain(argc, argv, ZovcfgInstance());
}
