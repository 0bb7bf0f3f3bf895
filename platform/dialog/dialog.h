// A dialog window: its controls in template order, its dialog procedure, the focus, the default
// push button and the modal state. Messages sent to it go to the dialog procedure first and, if
// that does not handle them, to the default dialog behaviour (DefaultMessage), as on Windows.
#pragma once

#include <memory>
#include <vector>

#include "platform/dialog/resource.h"
#include "platform/dialog/window.h"

namespace zov {

class Dialog : public Window {
  public:
    Dialog(const DialogTemplate& dialogTemplate, DLGPROC proc, Dialog* owner);
    ~Dialog() override;

    Dialog* Owner() const { return owner_; }
    const std::vector<std::unique_ptr<Window>>& Controls() const { return controls_; }
    // The first control with this id, or nullptr.
    Window* Control(int id) const;
    bool Owns(const Window* control) const;
    int IndexOf(const Window* control) const;

    // The dialog's size in cells, frame included, and where it wants to be relative to its
    // owner when the template does not ask for centring (template position in cells).
    int WindowWidth() const { return windowWidth_; }
    int WindowHeight() const { return windowHeight_; }
    bool CentredOnOwner() const { return centred_; }
    int TemplateColumn() const { return templateColumn_; }
    int TemplateRow() const { return templateRow_; }
    int ClientOriginX() const { return Rect().x + 1; }
    int ClientOriginY() const { return Rect().y + 1; }
    bool HasCloseBox() const { return (Style() & WS_SYSMENU) != 0; }

    LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Windows' DefDlgProc for the messages a dialog procedure leaves alone.
    LRESULT DefaultMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND with a control's notification code.
    void Notify(Window* control, int code);
    // WM_COMMAND for the command id, lParam the control with that id (if any).
    void Command(int id);

    // Focus within this dialog. Disabled, hidden and static controls do not take it.
    Window* Focus() const { return focus_; }
    bool SetFocusTo(Window* control, bool viaKeyboard);
    // Moves the focus off a control that can no longer hold it, to the next tab stop.
    void FocusLost(Window* control);
    // The push button Enter presses: the focused push button, else the default one.
    Window* EnterTarget() const;
    int DefaultId() const;

    // Automatic radio buttons of the control's group other than the control.
    std::vector<Window*> GroupOf(const Window* control) const;

    // Modal state.
    bool Ended() const { return ended_; }
    INT_PTR Result() const { return result_; }
    void End(INT_PTR result);
    bool Shown() const { return shown_; }
    void SetShown(bool shown) { shown_ = shown; }
    bool ownerWasEnabled = false;

  private:
    DLGPROC proc_;
    Dialog* owner_;
    std::vector<std::unique_ptr<Window>> controls_;
    Window* focus_ = nullptr;
    int defId_ = 0;  // set by DM_SETDEFID; 0 means the template's default push button
    HICON iconBig_ = nullptr;
    HICON iconSmall_ = nullptr;
    bool ended_ = false;
    bool shown_ = false;
    INT_PTR result_ = 0;
    int windowWidth_ = 0;
    int windowHeight_ = 0;
    bool centred_ = false;
    int templateColumn_ = 0;
    int templateRow_ = 0;
};

}  // namespace zov
