#include "platform/dialog/dialog.h"

#include <algorithm>

#include "platform/dialog/control_factory.h"
#include "platform/dialog/dialog_layout.h"
#include "platform/dialog/dialog_navigation.h"
#include "platform/dialog/push_button.h"
#include "platform/dialog/static_text.h"

namespace zov {

Dialog::Dialog(const DialogTemplate& dialogTemplate, DLGPROC proc, Dialog* owner)
    : Window(WindowKind::Dialog, 0, dialogTemplate.style, dialogTemplate.exStyle,
             dialogTemplate.caption),
      proc_(proc),
      owner_(owner) {
    const DialogPlacement placement = DialogLayout::Compute(dialogTemplate);
    for (std::size_t i = 0; i < dialogTemplate.controls.size(); ++i) {
        std::unique_ptr<Window> control = CreateControl(dialogTemplate.controls[i]);
        const ControlPlacement& placed = placement.controls[i];
        control->SetRect(placed.rect);
        control->SetParent(this);
        if (control->Kind() == WindowKind::Static) {
            auto* text = static_cast<StaticText*>(control.get());
            text->SetMultiLine(placed.multiLine);
            text->SetNarrowBlanks(placed.narrowBlanks);
        }
        controls_.push_back(std::move(control));
    }
    windowWidth_ = placement.clientWidth + 2;
    windowHeight_ = placement.clientHeight + 2;
    centred_ =
        (dialogTemplate.x == 0 && dialogTemplate.y == 0) || (dialogTemplate.style & DS_CENTER) != 0;
    templateColumn_ = dialogTemplate.x / 4;
    templateRow_ = dialogTemplate.y / 8;
}

Dialog::~Dialog() = default;

Window* Dialog::Control(int id) const {
    for (const auto& control : controls_) {
        if (control->Id() == id) {
            return control.get();
        }
    }
    return nullptr;
}

bool Dialog::Owns(const Window* control) const {
    return IndexOf(control) >= 0;
}

int Dialog::IndexOf(const Window* control) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i].get() == control) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

LRESULT Dialog::Message(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (proc_ != nullptr) {
        // A dialog procedure answers "handled" with a nonzero result, which is also the value
        // of the messages that return one directly (WM_INITDIALOG, WM_QUERYDRAGICON...).
        const INT_PTR handled = proc_(Handle(), msg, wParam, lParam);
        if (handled != 0 || msg == WM_INITDIALOG) {
            return handled;
        }
    }
    return DefaultMessage(msg, wParam, lParam);
}

LRESULT Dialog::DefaultMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SETICON: {
            HICON& slot = wParam == ICON_SMALL ? iconSmall_ : iconBig_;
            HICON previous = slot;
            slot = reinterpret_cast<HICON>(lParam);
            return reinterpret_cast<LRESULT>(previous);
        }
        case WM_GETICON:
            return reinterpret_cast<LRESULT>(wParam == ICON_SMALL ? iconSmall_ : iconBig_);
        case WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(iconBig_);
        case DM_GETDEFID: {
            const int id = DefaultId();
            return id != 0 ? MAKELONG(id, DC_HASDEFID) : 0;
        }
        case DM_SETDEFID: {
            // The old default push button loses its default look, the new one gets it.
            for (const auto& control : controls_) {
                if (control->Kind() != WindowKind::PushButton) {
                    continue;
                }
                const DWORD type =
                    control->Id() == static_cast<int>(wParam) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
                control->SetStyle((control->Style() & ~static_cast<DWORD>(BS_TYPEMASK)) | type);
            }
            defId_ = static_cast<int>(wParam);
            return TRUE;
        }
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                Message(WM_CLOSE, 0, 0);
            }
            return 0;
        case WM_CLOSE: {
            // Closing a dialog is pressing its cancel button, unless that button is disabled.
            Window* cancel = Control(IDCANCEL);
            if (cancel == nullptr || cancel->Enabled()) {
                Command(IDCANCEL);
            }
            return 0;
        }
        case WM_NEXTDLGCTL: {
            Window* target = nullptr;
            if (LOWORD(lParam) != 0) {
                target = static_cast<Window*>(reinterpret_cast<HWND>(wParam));
                if (!Owns(target)) {
                    return 0;
                }
            } else {
                target = DialogNavigation::TabEntry(
                    *this, DialogNavigation::NextTabItem(*this, focus_, wParam != 0));
            }
            SetFocusTo(target, true);
            return 0;
        }
        case WM_SETTEXT:
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
            return Window::Message(msg, wParam, lParam);
        default:
            return 0;
    }
}

void Dialog::Notify(Window* control, int code) {
    Message(WM_COMMAND, MAKEWPARAM(control->Id(), code),
            reinterpret_cast<LPARAM>(control->Handle()));
}

void Dialog::Command(int id) {
    Window* control = Control(id);
    Message(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
            reinterpret_cast<LPARAM>(control != nullptr ? control->Handle() : nullptr));
}

bool Dialog::SetFocusTo(Window* control, bool viaKeyboard) {
    if (control == focus_) {
        return true;
    }
    if (control != nullptr && (!Owns(control) || !control->CanTakeFocus())) {
        return false;
    }
    Window* previous = focus_;
    focus_ = control;
    if (previous != nullptr) {
        previous->FocusChanged(false, viaKeyboard);
    }
    if (control != nullptr && focus_ == control) {
        control->FocusChanged(true, viaKeyboard);
    }
    return true;
}

void Dialog::FocusLost(Window* control) {
    if (control != focus_ || control == nullptr) {
        return;
    }
    Window* next =
        DialogNavigation::TabEntry(*this, DialogNavigation::NextTabItem(*this, control, false));
    if (next == control || next == nullptr) {
        focus_ = nullptr;
        control->FocusChanged(false, true);
        return;
    }
    SetFocusTo(next, true);
}

int Dialog::DefaultId() const {
    if (defId_ != 0) {
        return defId_;
    }
    for (const auto& control : controls_) {
        if (control->Kind() == WindowKind::PushButton &&
            static_cast<const PushButton*>(control.get())->IsDefault()) {
            return control->Id();
        }
    }
    return 0;
}

Window* Dialog::EnterTarget() const {
    if (focus_ != nullptr && focus_->Kind() == WindowKind::PushButton) {
        return focus_;
    }
    Window* target = Control(DefaultId());
    return target != nullptr && target->Kind() == WindowKind::PushButton ? target : nullptr;
}

std::vector<Window*> Dialog::GroupOf(const Window* control) const {
    std::vector<Window*> group;
    const int index = IndexOf(control);
    if (index < 0) {
        return group;
    }
    int first = 0;
    int end = 0;
    DialogNavigation::GroupBounds(*this, index, &first, &end);
    for (int i = first; i < end; ++i) {
        Window* candidate = controls_[static_cast<std::size_t>(i)].get();
        if (candidate != control && candidate->Kind() == WindowKind::RadioButton &&
            (candidate->Style() & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
            group.push_back(candidate);
        }
    }
    return group;
}

void Dialog::End(INT_PTR result) {
    ended_ = true;
    result_ = result;
    // The owner is enabled again as soon as the dialog ends, as EndDialog does on Windows.
    if (ownerWasEnabled && owner_ != nullptr) {
        owner_->SetEnabled(true);
        ownerWasEnabled = false;
    }
}

}  // namespace zov
