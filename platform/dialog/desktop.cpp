#include "platform/dialog/desktop.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog/combo_box.h"
#include "platform/dialog/dialog_keyboard.h"
#include "platform/dialog/dialog_navigation.h"
#include "platform/dialog/label_text.h"
#include "platform/dialog/window_table.h"
#include "platform/format.h"

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
    const int width = dialog.WindowWidth();
    const int height = dialog.WindowHeight();
    const Dialog* owner = dialog.Owner();
    int x = 0;
    int y = 0;
    if (dialog.CentredOnOwner()) {
        if (owner != nullptr) {
            x = owner->Rect().x + (owner->Rect().width - width) / 2;
            y = owner->Rect().y + (owner->Rect().height - height) / 2;
        } else {
            x = (ScreenWidth() - width) / 2;
            y = (ScreenHeight() - height) / 2;
        }
    } else {
        x = dialog.TemplateColumn() + (owner != nullptr ? owner->ClientOriginX() : 0);
        y = dialog.TemplateRow() + (owner != nullptr ? owner->ClientOriginY() : 0);
    }
    // Kept on the screen; a window larger than the screen starts at its top left corner.
    x = std::max(std::min(x, ScreenWidth() - width), 0);
    y = std::max(std::min(y, ScreenHeight() - height), 0);
    dialog.SetRect({x, y, width, height});
}

void Desktop::PlaceAll() {
    for (Dialog* dialog : stack_) {
        Place(*dialog);
    }
}

bool Desktop::TooSmall(const Dialog& dialog) const {
    return dialog.WindowWidth() > ScreenWidth() || dialog.WindowHeight() > ScreenHeight();
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
    if (WindowTable::Contains(captured_) &&
        static_cast<Window*>(captured_)->Parent() == dialog.get()) {
        captured_ = nullptr;
    }
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
                Mouse(dialog, event.mouse);
            }
            return;
    }
}

ComboBox* Desktop::DroppedCombo(const Dialog& dialog) const {
    Window* focus = dialog.Focus();
    if (focus != nullptr && focus->Kind() == WindowKind::ComboBox &&
        static_cast<ComboBox*>(focus)->Dropped()) {
        return static_cast<ComboBox*>(focus);
    }
    return nullptr;
}

CellRect Desktop::DroppedRect(const Dialog& dialog, const ComboBox& combo) const {
    return combo.DroppedRect(dialog.ClientOriginX() + combo.Rect().x,
                             dialog.ClientOriginY() + combo.Rect().y, ScreenWidth(),
                             ScreenHeight());
}

CellRect Desktop::CloseBox(const Dialog& dialog) const {
    const CellRect& r = dialog.Rect();
    return {r.Right() - 4, r.y, 3, 1};
}

void Desktop::Mouse(Dialog& dialog, const MouseEvent& mouse) {
    const int originX = dialog.ClientOriginX();
    const int originY = dialog.ClientOriginY();

    if (ComboBox* combo = DroppedCombo(dialog)) {
        const CellRect list = DroppedRect(dialog, *combo);
        if (list.Contains(mouse.x, mouse.y)) {
            combo->DroppedMouse(mouse, mouse.x - list.x, mouse.y - list.y, list);
            return;
        }
        if (mouse.action == MouseAction::Press) {
            // A press anywhere else closes the list and does nothing more.
            combo->CloseUp(false);
            return;
        }
        if (mouse.action != MouseAction::Release) {
            return;
        }
    }

    if (mouse.action == MouseAction::Release) {
        if (closeBoxPressed_) {
            closeBoxPressed_ = false;
            if (CloseBox(dialog).Contains(mouse.x, mouse.y)) {
                dialog.Message(WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return;
        }
        Window* captured =
            WindowTable::Contains(captured_) ? static_cast<Window*>(captured_) : nullptr;
        captured_ = nullptr;
        if (captured != nullptr && captured->Parent() == &dialog) {
            captured->Mouse(mouse, mouse.x - originX - captured->Rect().x,
                            mouse.y - originY - captured->Rect().y);
        }
        return;
    }

    // Clicks outside the active modal window do nothing.
    if (!dialog.Rect().Contains(mouse.x, mouse.y)) {
        return;
    }
    if (mouse.action == MouseAction::Press && dialog.HasCloseBox() &&
        CloseBox(dialog).Contains(mouse.x, mouse.y)) {
        closeBoxPressed_ = mouse.button == 1;
        return;
    }
    // The control under the mouse; statics and group boxes let clicks through.
    Window* hit = nullptr;
    for (const auto& control : dialog.Controls()) {
        if (control->Visible() && control->Kind() != WindowKind::Static &&
            control->Kind() != WindowKind::GroupBox &&
            control->Rect().Offset(originX, originY).Contains(mouse.x, mouse.y)) {
            hit = control.get();
            break;
        }
    }
    if (hit == nullptr || !hit->Enabled()) {
        return;
    }
    if (mouse.action == MouseAction::Press) {
        if (mouse.button != 1) {
            return;
        }
        if (hit->CanTakeFocus()) {
            dialog.SetFocusTo(hit, false);
        }
        captured_ = hit->Handle();
    }
    hit->Mouse(mouse, mouse.x - originX - hit->Rect().x, mouse.y - originY - hit->Rect().y);
}

void Desktop::DrawDialog(Painter& painter, const Dialog& dialog, bool active) const {
    const CellRect& r = dialog.Rect();
    painter.Fill(r, U' ', CellRole::Window);
    painter.Frame(r, CellRole::Frame);

    // Title bar: the top line, the caption centred, the close box at the right.
    const CellRole title = active ? CellRole::Title : CellRole::TitleInactive;
    painter.Fill({r.x + 1, r.y, std::max(r.width - 2, 0), 1}, U' ', title);
    const int closeWidth = dialog.HasCloseBox() ? 4 : 0;
    std::string caption = dialog.Text();
    const int room = std::max(r.width - 4 - 2 * closeWidth, 0);
    if (static_cast<int>(caption.size()) > room) {
        caption.resize(static_cast<std::size_t>(room));
    }
    const int captionX = r.x + (r.width - static_cast<int>(caption.size())) / 2;
    painter.Text(captionX, r.y, caption, title);
    if (dialog.HasCloseBox()) {
        const CellRect box = CloseBox(dialog);
        painter.Put(box.x, box.y, U'[', CellRole::CloseBox);
        painter.Put(box.x + 1, box.y, U'×', CellRole::CloseBox);
        painter.Put(box.x + 2, box.y, U']', CellRole::CloseBox);
    }

    ControlLook look;
    look.originX = dialog.ClientOriginX();
    look.originY = dialog.ClientOriginY();
    look.threeD = threeD_;
    const Window* enterTarget = active ? dialog.EnterTarget() : nullptr;
    for (const auto& control : dialog.Controls()) {
        if (!control->Visible()) {
            continue;
        }
        look.focused = active && control.get() == dialog.Focus();
        look.enterTarget = control.get() == enterTarget;
        control->Draw(painter, look);
    }

    if (threeD_) {
        // The shadow: two columns to the right and one row below, over what lies there.
        for (int y = r.y + 1; y <= r.Bottom(); ++y) {
            painter.SetRole(r.Right(), y, CellRole::Shadow);
            painter.SetRole(r.Right() + 1, y, CellRole::Shadow);
        }
        for (int x = r.x + 2; x < r.Right(); ++x) {
            painter.SetRole(x, r.Bottom(), CellRole::Shadow);
        }
    }
}

void Desktop::DrawTooSmall(Painter& painter, const Dialog& dialog) const {
    // Wrapped to the screen's width, so that a narrow terminal still shows the size needed and
    // the way out; centred, or from the top when it is taller than the screen.
    const std::string notice = FormatText(
        "The terminal is too small: this dialog needs %d x %d.\n"
        "Enlarge it, or press Escape to cancel.",
        dialog.WindowWidth(), dialog.WindowHeight());
    const std::vector<std::string> lines =
        LabelText::Parse(notice, false).Wrap(ScreenWidth()).lines;
    int y = std::max((ScreenHeight() - static_cast<int>(lines.size())) / 2, 0);
    for (const std::string& line : lines) {
        painter.Text(std::max((ScreenWidth() - static_cast<int>(line.size())) / 2, 0), y++, line,
                     CellRole::Notice);
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
        DrawTooSmall(painter, *active);
        terminal_->Present(grid_, cursor);
        return;
    }
    for (Dialog* dialog : stack_) {
        if (dialog->Shown()) {
            DrawDialog(painter, *dialog, dialog == active);
        }
    }
    if (active != nullptr) {
        if (const ComboBox* combo = DroppedCombo(*active)) {
            combo->DrawDropped(painter, DroppedRect(*active, *combo));
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
