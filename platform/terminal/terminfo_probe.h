// What the terminal's description (terminfo) says, read before and while the driver runs: string
// capabilities, the bytes that put the terminal back, its line-drawing glyphs, whether TERM names
// a terminal the driver can drive, and the switch for mouse reports.
#pragma once

#include <string>

namespace zov {

// A string capability of the current terminal, or empty when it has none.
std::string TerminfoString(const char* name);

// A numeric capability of the current terminal, or -1 when it has none.
int TerminfoNumber(const char* name);

// The bytes that turn mouse reports on or off: the terminal's XM capability, else xterm's SGR
// reports when the terminal has a mouse at all (kmous), else nothing.
std::string MouseSwitchBytes(bool on);

// What a fatal signal writes to put the terminal back: cancel any escape sequence cut short,
// mouse reporting off, attributes off, cursor visible, keypad off, leave the
// alternate screen.
std::string RestoreBytes();

// The letters of the glyphs the terminal can draw from its alternate character set.
std::string AcsLetters();

// Checks that TERM names a terminal this driver can drive, before anything is sent to it; on
// success also gives the bytes that restore it.
bool CheckTerminalType(const std::string& type, std::string& error, std::string& restore_bytes);

}  // namespace zov
