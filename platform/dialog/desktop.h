// The desktop: the terminal the dialogs are shown on, the stack of modal dialogs, drawing them
// into a cell grid of the terminal's size, and the modal loop that feeds them events. Placement,
// mouse routing, the window frames, the dropped-down list and the desktop's notices each live in
// a file of their own.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/dialog/dialog.h"
#include "platform/dialog/mouse_router.h"
#include "platform/dialog/painter.h"
#include "platform/terminal/terminal.h"

namespace zov {

class Desktop {
  public:
    static Desktop& Get();

    // The terminal to draw on and read from; nullptr detaches. Without a terminal, input has
    // ended: a modal dialog is cancelled as soon as it runs.
    void Attach(Terminal* terminal) { terminal_ = terminal; }
    Terminal* Attached() const { return terminal_; }
    void SetThreeDimensional(bool on) { threeD_ = on; }
    bool ThreeDimensional() const { return threeD_; }
    // A line of the desktop's own, below the first dialog (empty: none).
    void SetNote(std::string note) { note_ = std::move(note); }
    const std::string& Note() const { return note_; }
    // True once the terminal hung up (or was never there) during a modal loop.
    bool InputEnded() const { return inputEnded_; }

    int ScreenWidth() const;
    int ScreenHeight() const;

    // Creates the dialog, initialises it and runs it until EndDialog; returns its result.
    // owner may be nullptr.
    INT_PTR RunModal(const DialogTemplate& dialogTemplate, Dialog* owner, DLGPROC proc,
                     LPARAM initParam);

    const std::vector<Dialog*>& Stack() const { return stack_; }
    // The topmost shown dialog, or nullptr.
    Dialog* Active() const;
    // The focused control of the active dialog, or nullptr.
    Window* Focus() const;

    // Draws every shown dialog and presents the grid with the cursor on the focused control.
    void Render();

  private:
    Desktop() = default;

    void Place(Dialog& dialog) const;
    void PlaceAll();
    bool TooSmall(const Dialog& dialog) const;
    void RunLoop(Dialog& dialog);
    void Dispatch(Dialog& dialog, const Event& event);

    Terminal* terminal_ = nullptr;
    bool threeD_ = false;
    std::string note_;
    bool inputEnded_ = false;
    std::vector<Dialog*> stack_;
    CellGrid grid_;
    MouseRouter mouse_;
};

}  // namespace zov
