#include "platform/terminal/terminal_signals.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <utility>

#include "platform/posix_file.h"

namespace zov {

namespace {

constexpr std::array kFatalSignals = {SIGTERM, SIGINT, SIGQUIT, SIGSEGV, SIGABRT, SIGBUS,
                                      SIGFPE,  SIGILL, SIGSYS,  SIGTRAP, SIGXCPU, SIGXFSZ};

// What the handler needs, prepared while arming. The handler only reads it.
struct ArmedState {
    int tty_fd = -1;
    termios tty_modes{};
    std::string restore_bytes;
    std::array<struct sigaction, kFatalSignals.size()> previous_fatal{};
    std::array<bool, kFatalSignals.size()> installed_fatal{};
    struct sigaction previous_hangup {};
    bool installed_hangup = false;
};

ArmedState g_state;
volatile sig_atomic_t g_armed = 0;
volatile sig_atomic_t g_hangup = 0;

void OnFatalSignal(int signal_number) {
    const int saved_errno = errno;
    if (g_armed != 0) {
        g_armed = 0;
        // Only write() and errno: safe in a signal handler.
        zov::WriteAll(g_state.tty_fd, g_state.restore_bytes.data(), g_state.restore_bytes.size());
        tcsetattr(g_state.tty_fd, TCSANOW, &g_state.tty_modes);
    }
    // SA_RESETHAND already put the default action back; deliver the signal again at once.
    sigset_t just_this;
    sigemptyset(&just_this);
    sigaddset(&just_this, signal_number);
    sigprocmask(SIG_UNBLOCK, &just_this, nullptr);
    static_cast<void>(raise(signal_number));
    errno = saved_errno;
}

void OnHangup(int /*signal_number*/) {
    g_hangup = 1;
}

// Installs `handler` for `signal_number` unless the signal is ignored; keeps the previous action.
bool Install(int signal_number, void (*handler)(int), int flags, struct sigaction& previous) {
    if (sigaction(signal_number, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
        return false;
    }
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigfillset(&action.sa_mask);
    return sigaction(signal_number, &action, nullptr) == 0;
}

}  // namespace

void TerminalSignals::Arm(int tty_fd, const termios& tty_modes, std::string restore_bytes) {
    Disarm();
    g_state.tty_fd = tty_fd;
    g_state.tty_modes = tty_modes;
    g_state.restore_bytes = std::move(restore_bytes);
    g_hangup = 0;
    g_armed = 1;
    for (std::size_t i = 0; i < kFatalSignals.size(); ++i) {
        g_state.installed_fatal[i] =
            Install(kFatalSignals[i], OnFatalSignal, static_cast<int>(SA_RESETHAND),
                    g_state.previous_fatal[i]);
    }
    // No SA_RESTART: a blocked read returns, so the driver sees the hang-up at once.
    g_state.installed_hangup = Install(SIGHUP, OnHangup, 0, g_state.previous_hangup);
}

void TerminalSignals::Disarm() {
    if (g_armed == 0 && !g_state.installed_hangup) {
        return;
    }
    g_armed = 0;
    for (std::size_t i = 0; i < kFatalSignals.size(); ++i) {
        if (g_state.installed_fatal[i]) {
            sigaction(kFatalSignals[i], &g_state.previous_fatal[i], nullptr);
            g_state.installed_fatal[i] = false;
        }
    }
    if (g_state.installed_hangup) {
        sigaction(SIGHUP, &g_state.previous_hangup, nullptr);
        g_state.installed_hangup = false;
    }
}

bool TerminalSignals::HangupReceived() {
    return g_hangup != 0;
}

}  // namespace zov
