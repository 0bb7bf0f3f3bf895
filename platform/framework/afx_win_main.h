// The entry of a framework application. main() does nothing but
//     return AfxWinMain(argc, argv, ZovcfgInstance());
#pragma once

#include "platform/terminal/terminal.h"
#include "platform/win32.h"

// Sets the application's title from argv[0], lets the application object look at the command
// line, runs InitApplication, opens the terminal (exit code 2 with a one-line reason on standard
// error when there is none), runs InitInstance, and returns the exit code of ExitInstance.
int AfxWinMain(int argc, char** argv, HINSTANCE hResources);

// The same on a terminal the caller provides, such as a test's in-memory screen.
int AfxWinMainOnTerminal(zov::Terminal& terminal, int argc, char** argv, HINSTANCE hResources);
