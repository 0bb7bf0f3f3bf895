#include "platform/dialog/desktop.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog/desktop_notices.h"
#include "platform/dialog/dialog_frame.h"
#include "platform/dialog/dialog_keyboard.h"
#include "platform/dialog/dialog_navigation.h"
#include "platform/dialog/dialog_placement.h"
#include "platform/dialog/dropped_list.h"

namespace zov {
namespace {

// The size assumed while no terminal is attached.
constexpr int kDefaultWidth = 80;
constexpr int kDefaultHeight = 24;

}  // namespace

Desktop& Desktop::Get() {
    static Desktop desktop;
    return desktop;
}

int Desktop::ScreenWidth() const {
    return terminal_ != nullptr ? std::max(terminal_->Width(), 1) : kDefaultWidth;
}

int Desktop::ScreenHeight() const {
    return terminal_ != nullptr ? std::max(terminal_->Height(), 1) : kDefaultHeight;
}

Dialog* Desktop::Active() const {
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
        if ((*it)->Shown()) {
            return *it;
        }
    }
    return nullptr;
}

Window* Desktop::Focus() const {
    const Dialog* active = Active();
    return active != nullptr ? active->Focus() : nullptr;
}

void Desktop::Place(Dialog& dialog) const {
    dialog.SetRect(PlaceDialog(dialog, ScreenWidth(), ScreenHeight()));
}

void Desktop::PlaceAll() {
    for (Dialog* dialog : stack_) {
        Place(*dialog);
    }
}

bool Desktop::TooSmall(const Dialog& dialog) const {
    return DialogTooLarge(dialog, ScreenWidth(), ScreenHeight());
}

INT_PTR Desktop::RunModal(const DialogTemplate& dialogTemplate, Dialog* owner, DLGPROC proc,
                          LPARAM initParam) {
    auto dialog = std::make_unique<Dialog>(dialogTemplate, proc, owner);
    stack_.push_back(dialog.get());
    Place(*dialog);
    if (owner != nullptr && owner->Enabled()) {
        ::EnableWindow(owner->Handle(), FALSE);  // the owner hears WM_ENABLE, as on Windows
        dialog->ownerWasEnabled = true;
    }
    Window* first = DialogNavigation::NextTabItem(*dialog, nullptr, false);
    const LRESULT setFocus = dialog->Message(
        WM_INITDIALOG, reinterpret_cast<WPARAM>(first != nullptr ? first->Handle() : nullptr),
        initParam);
    if (!dialog->Ended()) {
        // TRUE asks for the default focus; a dialog procedure that returned FALSE without
        // setting a focus gets it too, as Windows gives it when the dialog is activated.
        if (setFocus != 0 || dialog->Focus() == nullptr) {
            first = DialogNavigation::NextTabItem(*dialog, nullptr, false);
            dialog->SetFocusTo(DialogNavigation::TabEntry(*dialog, first), true);
        }
        if ((dialog->Style() & WS_VISIBLE) == 0) {
            dialog->SetStyle(dialog->Style() | WS_VISIBLE);
        }
        dialog->SetShown(true);
        dialog->Message(WM_PAINT, 0, 0);
        RunLoop(*dialog);
    }
    const INT_PTR result = dialog->Result();
    if (dialog->ownerWasEnabled && owner != nullptr) {
        dialog->ownerWasEnabled = false;
        ::EnableWindow(owner->Handle(), TRUE);
    }
    dialog->Message(WM_DESTROY, 0, 0);
    dialog->SetShown(false);
    stack_.erase(std::remove(stack_.begin(), stack_.end(), dialog.get()), stack_.end());
    mouse_.Forget(*dialog);
    dialog.reset();
    return result;
}

void Desktop::RunLoop(Dialog& dialog) {
    while (!dialog.Ended()) {
        Render();
        const Event event = terminal_ != nullptr ? terminal_->WaitEvent() : Event::Hangup();
        Dispatch(dialog, event);
    }
}

void Desktop::Dispatch(Dialog& dialog, const Event& event) {
    switch (event.type) {
        case Event::Type::Hangup:
            // Nobody is left to answer: the dialog is cancelled, and ended even if its
            // procedure does not end it on IDCANCEL.
            inputEnded_ = true;
            dialog.Command(IDCANCEL);
            if (!dialog.Ended()) {
                dialog.End(IDCANCEL);
            }
            return;
        case Event::Type::Resize:
        case Event::Type::Redraw:
            PlaceAll();
            for (Dialog* shown : stack_) {
                if (shown->Shown()) {
                    shown->Message(WM_PAINT, 0, 0);
                }
            }
            return;
        case Event::Type::Key:
            if (TooSmall(dialog)) {
                if (event.key.key == Key::Escape) {
                    dialog.Command(IDCANCEL);
                }
                return;
            }
            DialogKeyboard::Handle(dialog, event.key);
            return;
        case Event::Type::Mouse:
            if (!TooSmall(dialog)) {
                mouse_.Route(dialog, event.mouse, ScreenWidth(), ScreenHeight());
            }
            return;
    }
}

void Desktop::Render() {
    if (terminal_ == nullptr) {
        return;
    }
    grid_.Resize(ScreenWidth(), ScreenHeight());
    Painter painter(grid_);
    painter.Fill({0, 0, grid_.Width(), grid_.Height()}, U' ', CellRole::Desktop);
    CursorPosition cursor;
    Dialog* active = Active();
    if (active != nullptr && TooSmall(*active)) {
        DrawTooSmallNotice(painter, *active, ScreenWidth(), ScreenHeight());
        terminal_->Present(grid_, cursor);
        return;
    }
    if (!stack_.empty() && stack_.front()->Shown()) {
        DrawDesktopNote(painter, note_, stack_.front()->Rect(), threeD_, grid_.Width(),
                        grid_.Height());
    }
    for (Dialog* dialog : stack_) {
        if (dialog->Shown()) {
            DrawDialogWindow(painter, *dialog, dialog == active, threeD_);
        }
    }
    if (active != nullptr) {
        if (const ComboBox* combo = DroppedCombo(*active)) {
            combo->DrawDropped(painter,
                               DroppedListRect(*active, *combo, ScreenWidth(), ScreenHeight()));
        }
        if (const Window* focus = active->Focus()) {
            ControlLook look;
            look.originX = active->ClientOriginX();
            look.originY = active->ClientOriginY();
            look.focused = true;
            cursor = focus->Cursor(look);
        }
    }
    terminal_->Present(grid_, cursor);
}

}  // namespace zov
