// A program run in a pseudo-terminal, with the terminal's side emulated by libvterm: what the
// program draws can be read back cell by cell, and keys, mouse reports, resizes and signals sent
// to it. Every wait is bounded, so a program that hangs fails the test instead of stalling it.
#pragma once

#include <sys/types.h>
#include <vterm.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zov::test {

using namespace std::chrono_literals;

class PtySession {
  public:
    struct Options {
        std::string program;
        std::vector<std::string> arguments;
        int width = 80;
        int height = 24;
        // The child's whole environment (sanitizer options are passed through as well).
        std::vector<std::string> environment = {"TERM=xterm-256color", "LANG=C.UTF-8"};
    };

    explicit PtySession(const Options& options);
    ~PtySession();
    PtySession(const PtySession&) = delete;
    PtySession& operator=(const PtySession&) = delete;

    // Reads the program's output until the screen shows `text` somewhere; false on timeout.
    bool WaitForText(const std::string& text, std::chrono::milliseconds timeout = 5000ms);

    void Send(const std::string& bytes);
    void Resize(int width, int height);
    void Signal(int signal_number);
    // Closes the terminal's side: the program sees its terminal hang up.
    void CloseTerminal();

    // Waits for the program to end, reading its last output; the wait status, or none on timeout.
    std::optional<int> WaitExit(std::chrono::milliseconds timeout = 5000ms);

    // The screen as UTF-8 text, one row, or all rows joined by '\n'.
    std::string Row(int y) const;
    std::string Screen() const;
    VTermScreenCell CellAt(int x, int y) const;
    VTermPos Cursor() const;

    // The last state, 'h' (set) or 'l' (reset), of each private mode (DECSET "ESC [ ? n h") the
    // program switched. Read from the bytes, since libvterm takes only the first mode of a
    // combined DECSET.
    std::map<std::string, char> PrivateModes() const;
    bool CursorVisible() const { return PrivateModes()["25"] != 'l'; }
    bool AltScreen() const { return PrivateModes()["1049"] == 'h'; }
    // Every byte the program wrote.
    const std::string& Transcript() const { return transcript_; }

  private:
    bool ReadOnce(int timeout_ms);
    static void OnOutput(const char* bytes, size_t length, void* user);

    int master_ = -1;
    pid_t pid_ = -1;
    std::optional<int> status_;
    VTerm* vterm_ = nullptr;
    VTermScreen* screen_ = nullptr;
    std::string transcript_;
};

}  // namespace zov::test
