// zovreg: query, export, import and delete keys of the registry from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "zovreg/terminal_confirmation.h"
#include "zovreg/zovreg_tool.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    zov::reg::ToolStreams streams{std::cout, std::cerr, std::cin, zov::reg::ConfirmOnTerminal};
    return zov::reg::RunZovreg(args, streams);
}
