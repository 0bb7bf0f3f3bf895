// The terminal driver for a real terminal, on ncursesw: shows the dialog manager's cell grid with
// colours (or a monochrome look), Unicode or ACS or ASCII line drawing, and the hardware cursor
// on the focused control; turns keys, mouse and resizes into events. The terminal is put back as
// it was on every way out: destruction, exit(), an uncaught exception, a fatal signal.
//
// One driver per process: it owns the process's controlling terminal (standard input and output).
#pragma once

#include <memory>
#include <string>

#include "platform/terminal/terminal.h"

namespace zov {

class CursesTerminal final : public Terminal {
  public:
    // Opens the driver on standard input and output. On failure (not a terminal, TERM unknown or
    // unusable, a driver already open) returns null with a one-line reason in `error`, having
    // written nothing to the terminal.
    static std::unique_ptr<CursesTerminal> Open(std::string& error);

    ~CursesTerminal() override;
    CursesTerminal(const CursesTerminal&) = delete;
    CursesTerminal& operator=(const CursesTerminal&) = delete;

    int Width() const override;
    int Height() const override;
    void Present(const CellGrid& grid, const CursorPosition& cursor) override;
    Event WaitEvent() override;

    // Puts the terminal back as it was; the destructor does it too. Idempotent.
    void Close();

  private:
    struct State;
    explicit CursesTerminal(std::unique_ptr<State> state);

    void ReadSome();

    std::unique_ptr<State> state_;
};

}  // namespace zov
