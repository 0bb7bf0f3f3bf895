// The signals that concern a full-screen terminal program. While armed:
// - a fatal signal (SIGTERM, SIGINT, SIGQUIT, SIGSEGV, SIGABRT, ...) first writes the bytes that
//   put the terminal back as it was (leave the alternate screen, mouse reporting off, cursor
//   visible) and restores the saved tty modes, then kills the process with the signal's default
//   action, so that the parent sees the real cause;
// - SIGHUP is only recorded: the terminal is gone, and the program ends through its normal path
//   when the driver reports the hang-up as the end of input.
// Signals that were ignored when arming (nohup, a background job) stay ignored. Everything the
// handler touches is prepared beforehand, so it calls only async-signal-safe functions.
#pragma once

#include <termios.h>

#include <string>

namespace zov {

class TerminalSignals {
  public:
    // Installs the handlers. `restore_bytes` is written to `tty_fd` and `tty_modes` applied to it
    // before a fatal signal ends the process. Arming again replaces the previous state.
    static void Arm(int tty_fd, const termios& tty_modes, std::string restore_bytes);

    // Puts the previous handlers back; the terminal has been restored by its owner.
    static void Disarm();

    // Whether SIGHUP arrived while armed.
    static bool HangupReceived();
};

}  // namespace zov
