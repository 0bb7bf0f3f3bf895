// zovcfg: hands control to the application object.
#include "platform/framework/afx_win_main.h"
#include "ui/res/zovcfg_resources.h"

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv, ZovcfgInstance());
}
